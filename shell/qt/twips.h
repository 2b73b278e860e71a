// Positions and sizes of the forms are given in twips: 1440 to the inch. They become pixels
// with the logical resolution of the screen a widget is on.
#pragma once

class QWidget;

namespace dv::qt {

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at a resolution in dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, double dots_per_inch);

// Across (x, width) and down (y, height) on the screen of widget; a null widget takes the
// primary screen.
int TwipsX(const QWidget* widget, int twips);
int TwipsY(const QWidget* widget, int twips);

}  // namespace dv::qt
