#pragma once
// The program's own pictures. The tool-bar buttons, the logo and the icon are
// image files in the pictures resource (src/app/pictures.qrc); pictures of
// short texts are drawn, since their text is known only at run time.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The pictogram of tool-bar button SpeedButtonN (18 x 18, with a double-size
// version for high-density screens); a null icon for a number without one.
QIcon SpeedButtonPicture(int number);
// "Skarvel" over a trace of a received signal. Kept at 67 x 24 (the tool bar)
// and 200 x 50 (the About box); other sizes are the nearest one scaled.
QPixmap LogoPicture(int width, int height);
// A square icon: a wave under an aircraft. Kept at 32 x 32; other sizes are
// scaled from it.
QPixmap ProgramIconPicture(int size);
// Lines of text centred one under the other, filling the height.
QPixmap TextPicture(const QStringList& lines, int width, int height, int pixelSize);
