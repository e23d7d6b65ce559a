#include "ui/qt/application.h"
#include "ui/qt/application_title.h"
#include "ui/qt/deferred_icon_style.h"

#include <QApplication>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#if BRZDOMAT_WARM_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <thread>
#endif

int main(int argc, char* argv[])
{
#ifdef __GLIBC__
    // One heap for all threads, made before any: the program's few threads gain nothing from heaps
    // of their own, and the font configuration read beside the window system's connection would
    // keep its own at a tenth of a megabyte more.
    mallopt(M_ARENA_MAX, 1);
#endif
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
