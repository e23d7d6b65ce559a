#pragma once

class QWidget;

namespace brzdomat {

// Tells the window manager that a window of fixed size is neither resizable nor maximisable.
// X11 window managers also read the Motif hints, which Qt fills with a resize handle and a
// resize function whatever the window's size constraints; they are rewritten here from the
// window's flags. Call it once the window's native window exists and before it is mapped, from
// its show event. Elsewhere it does nothing.
void FixWindowHints(QWidget* window);

// Asks the display ahead of time for what FixWindowHints needs, so that the first window shown
// does not wait for the answer: call it before that window's native window is made.
void PrepareWindowHints();

} // namespace brzdomat
