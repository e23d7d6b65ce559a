#include "ui/qt/application.h"
#include "ui/qt/application_title.h"
#include "ui/qt/deferred_icon_style.h"

#include <QApplication>

#if BRZDOMAT_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <thread>
#endif

int main(int argc, char* argv[])
{
#if BRZDOMAT_WARM_FONTCONFIG
    // Reading the font configuration is a good part of start-up. It runs beside the connection
    // to the window system instead of after it; fontconfig's initialisation is thread-safe.
    std::thread fontConfiguration([] { FcInit(); });
#endif
    // The program reads no command line: Qt gets only the program's name.
    int toolkitArgc = argc > 0 ? 1 : 0;
    QApplication toolkit(toolkitArgc, argv);
#if BRZDOMAT_WARM_FONTCONFIG
    fontConfiguration.join();
#endif
    // Before any window exists, so that the main window's menu bar reads no picture.
    QApplication::setStyle(new brzdomat::DeferredIconStyle);
    brzdomat::Application program(
        brzdomat::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    program.Show();
    return QApplication::exec();
}
