// The baseline of the start-up and memory measurements: the least a Qt Widgets program does to
// show one window of the main window's size with a label in it.

#include "ui/qt/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(brzdomat::ClientWidth, brzdomat::ClientHeight);
    QLabel label(QStringLiteral("Test č."), &window);
    window.show();
    return QApplication::exec();
}
