#pragma once

// The fonts of the program's own windows, whose layouts fix every text's place and size.

#include <QFont>

class QLabel;

namespace brzdomat {

// The font of every control without one of its own, and the others by character height in
// pixels. "MS Sans Serif" is a Windows bitmap font; the families after it are close sans-serif
// faces whose texts fit the places of the layout.
enum class Weight { Regular, Bold };
QFont LayoutFont(int pixelSize, Weight = Weight::Regular);
// Lowers a label's text, inside the label's place, to where the design's font had its baseline,
// so that texts of one row in different faces stand on one line, and a face with a shorter
// ascent neither lifts the text nor cuts the accents of capitals ("Č") at the label's top. Call
// it after the label's font is set.
void KeepDesignBaseline(QLabel*);
inline constexpr int WindowFontPixels = 11;

} // namespace brzdomat
