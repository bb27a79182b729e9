#pragma once
// The program's own pictures, drawn in code: the tool-bar buttons, the logo
// and the icon, and pictures of short texts.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The pictogram of tool-bar button SpeedButtonN (18 x 18).
QIcon SpeedButtonPicture(int number);
// "Skarvel" over a trace of a received signal, at any size.
QPixmap LogoPicture(int width, int height);
// A square icon: a wave under an aircraft.
QPixmap ProgramIconPicture(int size);
// Lines of text centred one under the other, filling the height.
QPixmap TextPicture(const QStringList& lines, int width, int height, int pixelSize);
