#include "ui/qt/application.h"
#include "ui/qt/application_title.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The program reads no command line: Qt gets only the program's name.
    int toolkitArgc = argc > 0 ? 1 : 0;
    QApplication toolkit(toolkitArgc, argv);
    brzdomat::Application program(
        brzdomat::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    program.Show();
    return QApplication::exec();
}
