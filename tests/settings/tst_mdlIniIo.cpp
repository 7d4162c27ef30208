#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/ColourButton.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/FileBytes.h"
#include "platform/MsgBox.h"
#include "platform/SafeSave.h"
#include "settings/DefaultSettings.h"
#include "settings/IniFile.h"
#include "settings/mdlIniIo.h"
#include "support/FileSupport.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

namespace {

// Every item set to something other than its designed value, the text of the first folder
// "/data/運賃" (8 characters, 10 bytes); put together item by item, apart from our writer.
QByteArray everyItemSet() {
    return FileBytes::read(QStringLiteral(Q57_SOURCE_DIR "/tests/data/settings/every-item-set.in4"))
        .value();
}

QVariant shown(QWidget* control) {
    if (auto* colour = dynamic_cast<ColourButton*>(control))
        return int(colour->BackColor());
    if (auto* option = qobject_cast<QRadioButton*>(control))
        return option->isChecked() ? -1 : 0;
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return box->isChecked() ? 1 : 0;
    if (auto* list = qobject_cast<QComboBox*>(control))
        return list->currentIndex();
    if (auto* text = qobject_cast<QLineEdit*>(control))
        return text->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return {};
}

QByteArray readFile(const QString& name) {
    return FileBytes::read(name).valueOrThrow();
}

void writeFile(const QString& name, const QByteArray& bytes) {
    QVERIFY(SafeSave::write(name, bytes));
}

struct Start {
    Q57App program;
    Form1& form = program.form();
    QString message;
    QString detail;

    // Without a file name, where the test has set the files.
    explicit Start(const QString& settingsFile) {
        if (!settingsFile.isEmpty())
            mdlIniIo::setIniFileName(settingsFile);
        MessageBoxHook boxes;
        program.start();
        message = TestSupport::lastMessage(boxes);
        if (!boxes.asked().isEmpty())
            detail = boxes.asked().last().detail;
    }
    frmCtl& ctl() { return program.operatingPanel(); }
    // Quitting from the operating panel, answering yes; returns the message the save showed.
    QString quit() {
        MessageBoxHook boxes;
        boxes.setNextAnswer(QMessageBox::Yes);
        ctl().close();
        TestSupport::recoverFromQuit();
        return boxes.asked().size() > 1 ? TestSupport::lastMessage(boxes) : QString();
    }
    QByteArray saved(const QString& settingsFile) {
        mdlIniIo::setIniFileName(settingsFile);
        program.SaveIni();
        return readFile(settingsFile);
    }
};

} // namespace

class TestMdlIniIo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void firstStartGathersTheDefaultSettings() {
        Start start(folder_.filePath(QStringLiteral("defaults.in4")));
        IniRecord expected = DefaultSettings::record();
        expected.CtlLeft = start.ctl().x() * 15;
        expected.CtlTop = start.ctl().y() * 15;
        const QByteArray saved =
            start.saved(folder_.filePath(QStringLiteral("defaults-saved.in4")));
        QVERIFY(IniFile::decode(saved).valueOrThrow() == expected);
    }

    void handMadeFileLoadsIntoEveryWindow() {
        const QString name = folder_.filePath(QStringLiteral("every.in4"));
        const QByteArray bytes = everyItemSet();
        writeFile(name, bytes);
        Start start(name);
        QCOMPARE(start.message, QString());
        // Saving collects from the windows: the same bytes mean every item reached its control.
        QCOMPARE(start.saved(folder_.filePath(QStringLiteral("every-saved.in4"))), bytes);

        // Each control shows its own item: a binding on the wrong control saves back the same
        // bytes, and is only seen here.
        const auto controls = TestSupport::expectedOutcomes(
            QStringLiteral(Q57_SOURCE_DIR "/tests/data/settings/every-item-set.controls"));
        QCOMPARE(controls.size(), 61);
        for (const auto& [name, value] : controls) {
            QWidget& control = TestSupport::control<QWidget>(start.program.options(), name);
            bool number = false;
            const int n = value.toInt(&number, 0);
            QVERIFY2(shown(&control) == (number ? QVariant(n) : QVariant(value)), qPrintable(name));
        }
        QCOMPARE(start.form.pos(), QPoint(30, 20));
        QCOMPARE(start.ctl().pos(), QPoint(40, 50));
        QCOMPARE(TestSupport::inputPanelInFront(start.ctl()), 0);
        QCOMPARE(start.form.ChimeiCtl().BackColor(), 0x203040u);
        QCOMPARE(start.form.ChimeiCtl().ForeColor(), 0x00C0FFu);
        QCOMPARE(start.form.TimeDegit(1).DegitForeColor(), 0x30A0F0u);
        for (int n = 1; n <= 61; ++n) {
            const M_Degit& digit = start.form.Degit(n);
            QCOMPARE(QList<int>({digit.Shift(), digit.ZeroMode(), digit.FillZero()}),
                     QList<int>({n % 4, n / 4 % 4, n / 16}));
            QCOMPARE(digit.Value().toString(), QStringLiteral(" "));
        }
    }

    void shortFileIsReportedAndAppliesNothing() {
        // No file at all is the first start: nothing to say.
        Start first(folder_.filePath(QStringLiteral("none.in4")));
        QCOMPARE(first.message, QString());
        const QByteArray designed = first.saved(folder_.filePath(QStringLiteral("designed.in4")));
        const QByteArray bytes = everyItemSet();
        const QString name = folder_.filePath(QStringLiteral("short.in4"));
        // An empty file is a damaged one, not a missing one; tst_IniFile tries other cuts.
        for (qsizetype cut : {qsizetype(0), bytes.size() - 1}) {
            writeFile(name, bytes.left(cut));
            Start start(name);
            QCOMPARE(start.message,
                     QStringLiteral("エラー Code:62\n内容:ファイルの終わりを越えて読み込もうとしま"
                                    "した。\nモジュール:mdlIniIo.LoadIni()"));
            QCOMPARE(start.saved(folder_.filePath(QStringLiteral("short-saved.in4"))), designed);
            // The quit will replace it: the user's file is kept beside it, the latest one only,
            // named in the message with its copy.
            QCOMPARE(start.detail,
                     QStringLiteral("設定ファイル：%1\nその内容の控え：%1.bak").arg(name));
            QCOMPARE(readFile(name + QStringLiteral(".bak")), bytes.left(cut));
        }
    }

    void positionsOffTheScreenComeBackOntoIt() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QString name = folder_.filePath(QStringLiteral("off.in4"));
        // Stored on a second monitor right of this one, now gone; with the preview open the
        // wider operating panel is kept whole.
        IniRecord stored = IniFile::decode(everyItemSet()).value();
        stored.DispLeft = (screen.right() + 1) * 15;
        stored.CtlLeft = (screen.right() - 150) * 15;
        writeFile(name, IniFile::encode(stored).value());
        Start start(name);
        QVERIFY(screen.contains(start.form.frameGeometry()));
        QVERIFY(screen.contains(start.ctl().frameGeometry()));
    }

    void installedProgramReadsTheFirstStartFileAndWritesTheUsersOwn() {
        const QString user = folder_.filePath(QStringLiteral("config/Q57"));
        const QString firstStart = folder_.filePath(QStringLiteral("share/q57/Q57.in4"));
        QDir().mkpath(QFileInfo(firstStart).path());
        writeFile(firstStart, everyItemSet());
        // Where nobody can write: /proc.
        const SettingsLocation::Folders installed{QStringLiteral("/proc"), user, firstStart};
        mdlIniIo::setIniFiles(SettingsLocation::choose(installed, QStringLiteral("Q57.in4")));
        Start start{QString()};
        QCOMPARE(start.message + start.quit(), QString());
        QCOMPARE(readFile(user + QStringLiteral("/Q57.in4")), everyItemSet());
        QCOMPARE(readFile(firstStart), everyItemSet());
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir locked;
        const QString name = locked.filePath(QStringLiteral("Q57.in4"));
        const QByteArray old = everyItemSet();
        writeFile(name, old);
        QFile(name).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ReadOther | QFileDevice::WriteOther);
        Start start(name);
        start.ctl().move(100, 100);
        QFile(locked.path())
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                            QFileDevice::ReadOther | QFileDevice::ExeOther);
        QString message;
        {
            // Root may write anywhere: the save runs as an ordinary user.
            const TestSupport::OrdinaryUser user;
            QVERIFY(user.ok());
            message = start.quit();
        }
        QCOMPARE(message, QStringLiteral("エラー Code:70\n内容:書き込みできません。"));
        QVERIFY(start.form.isHidden());
        QCOMPARE(readFile(name), old);
        QFile(locked.path())
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }

private:
    QTemporaryDir folder_;
};

QTEST_MAIN(TestMdlIniIo)
#include "tst_mdlIniIo.moc"
