#pragma once

namespace brzdomat {

// The size of the question picture control, which shows a picture from its top-left corner.
// Nothing right of or below it is ever seen, so nothing there is decoded.
inline constexpr int VisibleWidth = 401;
inline constexpr int VisibleHeight = 457;

} // namespace brzdomat
