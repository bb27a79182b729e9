#include "platform/item_frames.h"

#include <QTreeView>

namespace platform {

void FrameItems(QTreeView& view) {
  view.setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid #d8d8d8; }"
                                    "QTreeView::item:selected { background: palette(highlight);"
                                    " color: palette(highlighted-text); }"));
}

}  // namespace platform
