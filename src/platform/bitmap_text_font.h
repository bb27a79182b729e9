#pragma once
// The font of every text drawn into the program's bitmaps.
#include <QFont>

namespace platform {

// The default sans-serif at a pixel size, crisp (the bitmaps are shown 1:1
// and small) and hinted the same way on every screen: left to the toolkit,
// the hinting follows the desktop's settings and turns off on a scaled
// screen, and the same text comes out with other pixels.
QFont BitmapTextFont(int pixels);

// Points as a 96 dpi screen shows them, so that a picture does not depend
// on the screen's dpi (7 points: 9 pixels).
int BitmapTextPixels(int points);

}  // namespace platform
