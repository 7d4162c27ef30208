#include "Q57App.h"
#include "platform/JapaneseFonts.h"
#include "platform/QtJapanese.h"
#include "platform/SafeSave.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    SafeSave::failWritesPastFileSizeLimit();
    QApplication app(argc, argv);
    JapaneseFonts::registerSubstitutions();
    QtJapanese::install(app);
    Q57App program;
    program.start();
    return app.exec();
}
