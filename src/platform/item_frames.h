#pragma once
// Lists whose cells are framed like a grid's.
class QTreeView;

namespace platform {

// Frames each cell of the view in light grey. A style sheet that styles
// the items takes their drawing from the native style, the selected ones'
// background included: the selection gets the palette's highlight back, so
// that a selected row reads as in every other list.
void FrameItems(QTreeView& view);

}  // namespace platform
