// The program's entry in a browser page: main.cpp's, with the page's edges (ui/qt/web_page.h)
// joined where each must come.

#include "ui/qt/application.h"
#include "ui/qt/application_title.h"
#include "ui/qt/web_page.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    brzdomat::ScaleToPage();
    // The program reads no command line: Qt gets only the program's name.
    int toolkitArgc = argc > 0 ? 1 : 0;
    QApplication toolkit(toolkitArgc, argv);
    brzdomat::AddPageFonts();
    brzdomat::Application program(
        brzdomat::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    program.Show();
    brzdomat::JoinPage(program);
    return QApplication::exec();
}
