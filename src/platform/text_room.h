#pragma once
// Room for a text in the font a control uses. The windows are laid out at
// fixed places with the widths they were designed with; another font (the
// system's sans serif, a Japanese one) is wider, so a control or column is
// widened to its text, the designed width being the least it gets.
#include <QStringList>

class QAbstractItemView;
class QComboBox;
class QHeaderView;
class QWidget;

namespace platform {

// The width of one line of text in the widget's font.
int TextWidth(const QWidget& widget, const QString& text);
// Each of the characters repeated count times ("AAAA", "BBBB", ...): among
// them the widest text of count characters from that set, whatever the font.
QStringList EachRepeated(const QString& characters, int count);
// A column's width for a cell text: the text and the cell's padding as the
// view's style draws them.
int CellWidth(const QAbstractItemView& view, const QString& text);
// Widens a column to its header's text and to each of the cell texts; a
// column already wide enough keeps its width.
void WidenColumn(QAbstractItemView& view, QHeaderView& header, int column, const QStringList& cells = {});
// The width a combo box needs to show each of its items whole, its arrow
// and frame included.
int ComboBoxWidth(const QComboBox& combo);

}  // namespace platform
