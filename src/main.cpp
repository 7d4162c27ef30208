#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"
#include "platform/QtJapanese.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    JapaneseFonts::registerSubstitutions();
    QtJapanese::install(app);
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
