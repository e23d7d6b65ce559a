#pragma once

// The program in a browser page: what the page gives instead of a desktop. The page's canvas is
// the screen; the main window keeps its design size in the middle of it, scaled down whole when
// the page is smaller. Closing the main window ends the program as far as a page can: the page
// is told, takes the window away and offers a new start. Web addresses open in a new tab that
// gets no hold on the page. The next question's picture is fetched ahead from here. Nothing here
// stores anything.

namespace brzdomat {

class Application;

// Before the windows are made: the layout's faces, which a desktop finds among its fonts and a
// page has only when it brings them (in the program's file system, below /fonts).
void AddPageFonts();

// Once the program is made and shown: the window's place, the links and the end.
void JoinPage(Application&);

} // namespace brzdomat
