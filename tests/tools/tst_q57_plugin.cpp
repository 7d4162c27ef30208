#include "support/FileSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

TestSupport::ProgramRun runTool(const QStringList& arguments) {
    return TestSupport::runProgram(QStringLiteral(Q57_PLUGIN), arguments);
}

} // namespace

class tst_q57_plugin : public QObject {
    Q_OBJECT
private slots:
    void listsEveryProblemAndDrawsNothing() {
        QTemporaryDir dir;
        const QString fixture =
            QStringLiteral(Q57_SOURCE_DIR "/tests/data/plugins/many-problems.4SP");
        const QString png = dir.filePath(QStringLiteral("ticket.png"));
        const auto run = runTool({fixture, png});
        QCOMPARE(run.exitCode, 1);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], fixture + QStringLiteral(":14: CorpSwitch is missing"));
        QVERIFY(!QFile::exists(png));
    }

    void drawsTheTicketAtThePreviewsSize() {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("ticket.png"));
        const QString sample = QStringLiteral(Q57_SOURCE_DIR "/data/plugins/minamo-plain.4SP");
        QCOMPARE(
            runTool({sample, png, QStringLiteral("number=42"), QStringLiteral("scale=2")}).exitCode,
            0);
        QCOMPARE(QImage(png).size(), QSize(1800 / 15 * 2, 2700 / 15 * 2));
        QCOMPARE(runTool({sample, png, QStringLiteral("number=forty")}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(tst_q57_plugin)
#include "tst_q57_plugin.moc"
