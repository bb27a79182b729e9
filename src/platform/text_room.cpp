#include "platform/text_room.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <algorithm>

namespace platform {

int TextWidth(const QWidget& widget, const QString& text) { return widget.fontMetrics().horizontalAdvance(text); }

QStringList EachRepeated(const QString& characters, int count) {
  QStringList texts;
  for (QChar c : characters) texts << QString(count, c);
  return texts;
}

int CellWidth(const QAbstractItemView& view, const QString& text) {
  QStyleOptionViewItem o;
  o.initFrom(&view);
  o.font = view.font();
  o.fontMetrics = view.fontMetrics();
  o.features = QStyleOptionViewItem::HasDisplay;
  o.text = text;
  o.widget = &view;
  o.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  int width = view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &o, QSize(), &view).width();
  // A table's grid line takes a pixel of each column.
  if (auto* table = qobject_cast<const QTableView*>(&view); table && table->showGrid()) ++width;
  return width;
}

void WidenColumn(QAbstractItemView& view, QHeaderView& header, int column, const QStringList& cells) {
  int width = std::max(header.sectionSize(column), header.sectionSizeHint(column));
  for (const QString& text : cells) width = std::max(width, CellWidth(view, text));
  if (width != header.sectionSize(column)) header.resizeSection(column, width);
}

int ComboBoxWidth(const QComboBox& combo) {
  QStyleOptionComboBox o;
  o.initFrom(&combo);
  o.editable = combo.isEditable();
  o.frame = combo.hasFrame();
  o.subControls = QStyle::SC_All;
  const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, &combo);
  int text = 0;
  for (int i = 0; i < combo.count(); ++i) text = std::max(text, TextWidth(combo, combo.itemText(i)));
  // The item is drawn a pixel inside the field on either side.
  return combo.width() - field.width() + text + 2;
}

}  // namespace platform
