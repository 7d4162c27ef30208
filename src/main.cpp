#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    JapaneseFonts::registerSubstitutions();
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
