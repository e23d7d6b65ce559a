// The program's entry in a browser page: main.cpp's, with the page's edges (ui/qt/web_page.h)
// joined where each must come.

#include "ui/qt/application.h"
#include "ui/qt/application_title.h"
#include "ui/qt/deferred_icon_style.h"
#include "ui/qt/web_page.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The program reads no command line: Qt gets only the program's name.
    static int toolkitArgc = argc > 0 ? 1 : 0;
    // Neither is ever destroyed: the page's platform still calls into the program's windows
    // after the event loop has ended ("Zavřít"), and the page shows the ending itself and starts
    // the program again by loading it anew.
    new QApplication(toolkitArgc, argv);
    // In the page the menu bar's icon is a PNG decoded in WebAssembly: a tenth of a second
    // before the first window for an arrow nobody sees.
    QApplication::setStyle(new brzdomat::DeferredIconStyle);
    brzdomat::AddPageFonts();
    auto* program = new brzdomat::Application(
        brzdomat::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    program->Show();
    brzdomat::JoinPage(*program);
    return QApplication::exec();
}
