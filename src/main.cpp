#include "Q57App.h"
#include "platform/JapaneseFonts.h"
#include "platform/QtJapanese.h"
#include "platform/SafeSave.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>
#include <QThreadPool>
#include <fontconfig/fontconfig.h>
#include <thread>

int main(int argc, char* argv[]) {
    // Reading the font configuration takes milliseconds: here it overlaps connecting to the
    // display, and the fonts' first use finds it done.
    std::thread fonts([] { FcInit(); });
    SafeSave::failWritesPastFileSizeLimit();
    QApplication app(argc, argv);
    // The accessibility bridge joins the session bus at the first widget change, and looking
    // for a bus may take milliseconds; the first text measured lists every face fontconfig
    // has; the style's first picture looks through the picture format plug-ins. Begun here, in
    // that order, they overlap building the windows.
    QThreadPool::globalInstance()->start([] {
        QDBusConnection::sessionBus();
        QFontDatabase::families();
        QImageReader::supportedImageFormats();
    });
    JapaneseFonts::registerSubstitutions();
    QtJapanese::install(app);
    fonts.join();
    Q57App program;
    program.start();
    return app.exec();
}
