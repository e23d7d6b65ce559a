#pragma once

// The fonts of the program's own windows, whose layouts fix every text's place and size.

#include <QFont>
#include <QStringList>

class QLabel;
class QWidget;

namespace brzdomat {

// The font of every control without one of its own, and the others by character height in
// pixels. "MS Sans Serif" is a Windows bitmap font; the families after it are close sans-serif
// faces whose texts fit the places of the layout. Outside Windows the font names only the first
// of them the system has, unless that is the design's family, which may lack Czech letters.
enum class Weight { Regular, Bold };
QFont LayoutFont(int pixelSize, Weight = Weight::Regular);
// Lowers a label's text, inside the label's place, to where the design's font had its baseline,
// so that texts of one row in different faces stand on one line, and a face with a shorter
// ascent neither lifts the text nor cuts the accents of capitals ("Č") at the label's top. Call
// it after the label's font is set.
void KeepDesignBaseline(QLabel*);
inline constexpr int WindowFontPixels = 11;

// The width a label's text had in the design's face, kept with the label, so that a face can be
// chosen by it and the tests compare with it; 0 for a label whose place was wider than its text.
void SetDesignWidth(QLabel*, int pixels);
int DesignWidth(const QLabel*);
// How wide a label's text may grow: from its left edge to the nearest control to its right that
// shares one of its rows, or to its window's edge.
int Room(const QLabel*);

// Gives each style (size and weight) of the window's labels, and the window's own font, the face
// among FACES that the system has, draws every letter the texts of that style show, keeps every
// text inside its room and comes nearest to the design widths. Where none keeps every text inside,
// the one that outgrows least; where none draws every letter, the style keeps its font.
void FitLayoutFaces(QWidget* window, const QStringList& faces);
// On Windows, fits the window's faces among the faces a PC may have that come near the design's:
// "MS Sans Serif" may there be a bitmap face without the Czech letters, whose glyphs Qt would
// then take from a wider face. Elsewhere the layout's fonts are fixed substitutes and stay. Call
// it once the window's controls stand in their places.
void FitLayoutFaces(QWidget* window);

} // namespace brzdomat
