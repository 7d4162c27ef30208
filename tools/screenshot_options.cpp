// Shows the options dialog on the display and saves a screenshot of each of its six pages:
//   screenshot_options <folder>
// The pictures in docs/ are made with it under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/screenshot_options docs
// The hidden parts of the panel and ticket pages are opened first so that every control shows.
#include "Q57App.h"
#include "options/frmOption.h"
#include "platform/JapaneseFonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot_options <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    JapaneseFonts::registerSubstitutions();
    Q57App program;
    program.start();
    frmOption& dialog = program.options();
    dialog.findChild<QAbstractButton*>(QStringLiteral("Option3(1)"))->click();
    dialog.findChild<QCheckBox*>(QStringLiteral("chkUseSeiriPrev"))->click();
    dialog.move(20, 20);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return 1;
    for (int page = 0; page < 6; ++page) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("Option1(%1)").arg(page))->click();
        QTest::qWait(200);
        const QPixmap shot =
            dialog.screen()->grabWindow(0, dialog.x(), dialog.y(), dialog.width(), dialog.height());
        const QString path = folder.filePath(QStringLiteral("options-page%1.png").arg(page));
        if (!shot.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
