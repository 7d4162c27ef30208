#include "announce/JTalkSpeech.h"
#include "app/FareFileBytes.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/FileBytes.h"
#include "platform/KvRes.h"
#include "platform/MsgBox.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/FileSupport.h"
#include "support/Nw7Reading.h"
#include "support/ProgramRig.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace FareFileBytes;

namespace {

const QColor kLit(248, 210, 114);

struct Rig : ProgramRig {
    Form1& form = program.form();

    using ProgramRig::ProgramRig;
    template <typename Widget = QAbstractButton> Widget& control(const QString& name) {
        return TestSupport::control<Widget>(ctl, name);
    }
    DataIo& data() const { return ctl.RouteData(); }
};

bool stripShows(ChimeiCtl_B& strip, const QString& name) {
    ChimeiCtl_B reference;
    reference.setBackColor(strip.BackColor());
    reference.setForeColor(strip.ForeColor());
    reference.setFontMode(strip.FontMode());
    reference.setFontBold(strip.FontBold());
    reference.SetChimei(name);
    return reference.canvas() == strip.canvas();
}

// The program with a route "1" of six stops, and a file of each kind that is no file to read:
// a FIFO no one writes to, which blocks whoever opens it, and an endless device.
struct HostileRig : ProgramRig {
    HostileRig() { write(QStringLiteral("1.hy3"), FareFileBytes::simpleRoute(6)); }
    QString hostile(const QString& name, bool fifo) {
        const QString path = folder.filePath(name);
        QFile::remove(path);
        const bool made = fifo ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                               : QFile::link(QStringLiteral("/dev/zero"), path);
        if (!made)
            qFatal("cannot make %s", qPrintable(path));
        return path;
    }
};

} // namespace

class tst_frmCtl : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void keypadAndListEntry() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(5));
        const int route[5] = {0, 0, 0, 1, 2}, section[3] = {0, 0, 3};
        for (int k = 0; k < 5; ++k)
            rig.control<QListWidget>(QStringLiteral("List2(%1)").arg(k)).setCurrentRow(route[k]);
        for (int k = 0; k < 3; ++k)
            rig.control<QListWidget>(QStringLiteral("List3(%1)").arg(k)).setCurrentRow(section[k]);
        rig.click(QStringLiteral("Command1(0)"));
        QCOMPARE(rig.data().RouteNo, QStringLiteral("00012"));
        QCOMPARE(rig.data().CurStop, 2);
        QCOMPARE(rig.data().StopCount, 5);
        // The lamp test takes no input, on either window; the zero timer fires in its wait.
        rig.setRoute(QStringLiteral("12"), QStringLiteral("1"));
        rig.ctl.setLampTestMilliseconds(50);
        QStringList shown;
        bool stripLit = false;
        QTimer::singleShot(0, [&] {
            for (int n = 1; n <= 61; ++n)
                shown << TestSupport::segmentsOf(rig.form.Degit(n), kLit);
            stripLit = stripShows(rig.form.ChimeiCtl(), QStringLiteral("系統選別中"));
            rig.click(QStringLiteral("Command2(1)"));
            QTest::keyClick(&rig.form, Qt::Key_B);
        });
        rig.setRoute(QStringLiteral("12"), QStringLiteral("2"));
        QCOMPARE(shown, QStringList(61, QStringLiteral("8888")));
        QVERIFY(stripLit);
        QCOMPARE(rig.data().CurStop, 1);
        QVERIFY(!rig.control(QStringLiteral("Check1")).isChecked());
    }

    void ticketPreview() {
        Rig rig;
        rig.write("12.hy3", count(3) + record("A", 1, {}) +
                                record(ShiftJis::encode(QStringLiteral("駅前")), 9, {}) +
                                record(ShiftJis::encode(QStringLiteral("市役所")), 12, {}));
        // The reference puts fixed texts where the ticket has its number, stop and date.
        const QString info = QStringLiteral(
            "Q57-TICKET-PLUGIN 1\n[info]\nPrevWidth = 3000\nPrevHeight = 1500\nCanDate = 1\n"
            "CanTime = 0\nCanRouteNo = 0\nCanStopName = 1\nCanBarcode = 1\nBarcodeCount = 1\n"
            "MaxRouteNo = 99\nBarcodeRouteMode = 1\nStopRangeFrom = 1\nStopRangeTo = 99\n"
            "CorpSwitch = 0\n[ticket]\nsize 200 100\n");
        const QString places = QStringLiteral("%1 0 0 60 50 size=40 weight=bold%2\n"
                                              "%3 60 0 140 50 size=30%4\n"
                                              "%5 0 50 200 20 size=16%6\nbarcode 0 70 200 30\n");
        rig.write("ticket.4SP", (info + places.arg("number", "", "stop", "", "date", "")).toUtf8());
        auto reference = [&](int number, const QString& stop, const QString& date) {
            const QString text = QStringLiteral(" text=\"%1\"");
            rig.write("reference.4SP", (info + places.arg("text", text.arg(number), "text",
                                                          text.arg(stop), "text", text.arg(date)))
                                           .toUtf8());
            QImage drawn(200, 100, QImage::Format_RGB32);
            drawn.fill(Qt::red);
            KvRes::KV4_DrawSeiriken(rig.folder.filePath("reference.4SP"), drawn, {}, {}, {}, 0, 0,
                                    0, -1);
            return drawn.copy(0, 0, 200, 70);
        };
        QWidget& preview = rig.control<QWidget>(QStringLiteral("picSeirikenPrev"));
        auto shown = [&preview] { return TestSupport::grabbed(preview).copy(0, 0, 200, 70); };
        rig.settings([&rig](IniRecord& s) {
            s.UseSeiriPrev = 1;
            s.SeiriPlgFile = rig.folder.filePath("ticket.4SP");
            s.DateUpdateOnPrint = 0, s.DateFixed = -1;
            s.FixedDate = QStringLiteral("2026/01/05");
        });
        QCOMPARE(preview.size(), QSize(200, 100));
        QCOMPARE(rig.setRoute(QStringLiteral("12"), QStringLiteral("1")), QString());
        // The bar codes hold the route, the record and the ticket number.
        const std::tuple<int, QString, QString> stops[] = {{9, "駅前", "A012002009A"},
                                                           {12, "市役所", "A012003012A"}};
        for (const auto& [number, stop, barcode] : stops) {
            rig.click(QStringLiteral("Command2(1)"));
            // A hidden preview prints nothing until it is shown, then the stop's ticket.
            if (!rig.control(QStringLiteral("Check4")).isChecked()) {
                QVERIFY(!std::ranges::count(
                    TestSupport::darkPixels(TestSupport::grabbed(preview), 85, 0, 200), true));
                rig.click(QStringLiteral("Check4"));
            } else {
                // A shown preview prints after the display panel's repaint of the step.
                QVERIFY(shown() != reference(number, stop, "2026/01/05"));
                QCoreApplication::sendPostedEvents();
            }
            QCOMPARE(shown(), reference(number, stop, "2026/01/05"));
            const QImage drawn = TestSupport::grabbed(preview);
            QCOMPARE(TestSupport::decodeNw7(TestSupport::darkPixels(drawn, 85, 0, 200)), barcode);
        }
    }

    void backlight() {
        Rig rig;
        QImage on1(755, 307, QImage::Format_RGB32);
        on1.fill(Qt::blue);
        rig.form.imgRes(1) = on1;
        rig.click(QStringLiteral("Option4(1)"));
        QCOMPARE(rig.form.Picture(), on1);

        // A picture of the user's own cut off halfway is no picture: said, and the old one stays.
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && on1.save(&buffer, "JPEG"));
        rig.write("cut.jpg", jpeg.left(jpeg.size() / 2));
        rig.settings([&rig](IniRecord& s) {
            s.PanelAuto = 0, s.PanelManual = -1;
            s.PanelOffBuiltIn = 0, s.PanelOffUser = -1;
            s.PanelImageOff = rig.folder.filePath("cut.jpg");
            s.SeiriNumColorOff = 0x00FF00;
        });
        MessageBoxHook boxes;
        rig.click(QStringLiteral("Option4(0)"));
        const MessageBoxHook::Asked error{
            QMessageBox::Critical,
            QStringLiteral("エラー"),
            QStringLiteral("エラーです。\n\nエラーコード：481"
                           "　指定した画像の内容が不正です。この部分では扱えません。"),
            QMessageBox::Ok,
            QString(),
            QStringLiteral("ファイル：") + rig.folder.filePath("cut.jpg")};
        QVERIFY(boxes.asked() == QList({error}));
        QCOMPARE(rig.form.Picture(), on1);
        QCOMPARE(rig.form.lblSeiriNum(1).palette().color(QPalette::WindowText), QColor(0, 255, 0));
    }

    void keys() {
        Rig rig(true);
        rig.write("12.hy3", simpleRoute(8));
        rig.write("12tp.csv", "a,1,0\nb,0,0\n");
        rig.settings([&rig](IniRecord& s) { s.TapeDataDir = rig.folder.path(); });
        QWidget& ctl = rig.ctl;
        const auto press = [](QWidget& window, std::initializer_list<QKeyCombination> keys) {
            for (QKeyCombination key : keys)
                QTest::keyClick(&window, key.key(), key.keyboardModifiers());
        };
        const auto state = [&rig] {
            QStringList shown = {
                QStringLiteral("stop %1").arg(rig.data().CurStop),
                QStringLiteral("announcement %1").arg(rig.program.tape().GetTapeIndex()),
                QStringLiteral("entry %1-%2")
                    .arg(rig.control<QLabel>(QStringLiteral("Label2(0)")).text(),
                         rig.control<QLabel>(QStringLiteral("Label2(2)")).text()),
                TestSupport::inputPanelInFront(rig.ctl) == 0 ? QStringLiteral("lists")
                                                             : QStringLiteral("keypad"),
                rig.control(QStringLiteral("Option4(%1)").arg(rig.ctl.selectedBacklight())).text()};
            for (const char* latch : {"Check1", "Check2", "Check4"})
                if (rig.control(latch).isChecked())
                    shown << rig.control(latch).text();
            return shown.join(QStringLiteral(", "));
        };
        // No route yet: nothing to step, blank or announce; digits and 系統 are on the keypad at
        // the back. Enter is the list panel's リセット: route 0 is not found, asked once.
        press(ctl, {Qt::Key_Right, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_B, Qt::Key_PageDown,
                    Qt::Key_R, Qt::Key_1});
        QCOMPARE(state(), QStringLiteral("stop 0, announcement 0, entry -, lists, OFF"));
        MessageBoxHook boxes;
        press(ctl, {Qt::Key_Return});
        QCOMPARE(boxes.asked().size(), 1);

        // On the display panel as well: the keypad to the front, the route, steps.
        press(rig.form, {Qt::Key_K});
        QTest::keyClicks(&rig.form, QStringLiteral("r12s3"));
        press(rig.form, {Qt::KeypadModifier | Qt::Key_Enter, Qt::Key_Right, Qt::Key_Space,
                         Qt::Key_Left, Qt::Key_N});
        QCOMPARE(state(),
                 QStringLiteral("stop 3, announcement 0, entry 12-3, keypad, OFF, 深夜料金"));
        // A focused button does not take Space again, nor a radio button the arrow; a key held
        // down acts once. The first announcement is linked and steps the fares with it.
        QWidget& forward = rig.control(QStringLiteral("Command2(1)"));
        forward.setFocus();
        press(forward, {Qt::Key_Space});
        press(rig.control(QStringLiteral("Option4(2)")), {Qt::Key_Backspace, Qt::Key_Left});
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&ctl, &held);
        QSignalSpy stops(rig.speech, &JTalkSpeech::stopped);
        press(ctl, {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_P, Qt::Key_Escape});
        QCOMPARE(state(),
                 QStringLiteral("stop 2, announcement 1, entry 12-3, keypad, OFF, 深夜料金, <<"));
        QCOMPARE(stops.count(), 4);
        // F3 F2 F1 on the operating panel, then Ctrl+3 Ctrl+2 Ctrl+1 on the display panel.
        for (int k = 0; k < 6; ++k) {
            press(k < 3 ? ctl : rig.form, {k < 3 ? QKeyCombination(Qt::Key(Qt::Key_F3 - k))
                                                 : Qt::CTRL | Qt::Key(Qt::Key_6 - k)});
            QCOMPARE(rig.ctl.selectedBacklight(), 2 - k % 3);
        }

        // Blanked: route input, stepping, night fare and announcements are locked.
        press(ctl, {Qt::Key_B, Qt::Key_Right, Qt::Key_PageDown, Qt::Key_N, Qt::Key_K, Qt::Key_S,
                    Qt::Key_Return, Qt::Key_P, Qt::Key_F3});
        QCOMPARE(
            state(),
            QStringLiteral("stop 2, announcement 1, entry 12-3, keypad, ON2, 表示消去, 深夜料金"));
    }

    void dialogsMenuAndClosing() {
        Rig rig;
        rig.write("12.hy3", count(2) + record("AB", 1, {}) + record("CD", 2, {}));
        rig.setRoute(QStringLiteral("12"), QStringLiteral("1"));
        rig.click(QStringLiteral("Check1"));

        // The options dialog runs its own loop: the zero timer fires inside it.
        bool bothDisabled = false;
        QTimer::singleShot(0, [&] {
            bothDisabled = !rig.form.isEnabled() && !rig.ctl.isEnabled();
            TestSupport::control<QPushButton>(rig.program.options(), QStringLiteral("Command4"))
                .click();
        });
        rig.click(QStringLiteral("Command4"));
        QVERIFY(bothDisabled && rig.form.isEnabled() && rig.ctl.isEnabled());
        QVERIFY(stripShows(rig.form.ChimeiCtl(), QStringLiteral("AB")));
        QCOMPARE(rig.form.Degit(1).Value(), QVariant(QString()));

        MessageBoxHook boxes;
        boxes.setNextAnswer(QMessageBox::No);
        QVERIFY(!rig.ctl.close());
        const MessageBoxHook::Asked question{QMessageBox::Question,
                                             QStringLiteral("Velmoraの終了確認"),
                                             QStringLiteral("Velmoraを終了しますか？"),
                                             QMessageBox::Yes | QMessageBox::No,
                                             QString(),
                                             QString()};
        QVERIFY(boxes.asked().last() == question);
        QVERIFY(rig.ctl.isVisible() && rig.form.isVisible());
    }

    // Each must come back at once (a hang fails by the test's time-out) with the file's usual
    // failure, and the program goes on.
    void fifosAndDevicesAreRefusedUnread() {
        for (const bool fifo : {true, false}) {
            HostileRig rig;
            const QString sound = rig.hostile(QStringLiteral("reset.wav"), fifo);
            const QString plugin = rig.hostile(QStringLiteral("ticket.4SP"), fifo);
            rig.hostile(QStringLiteral("1tp.csv"), fifo);
            rig.settings([&](IniRecord& s) {
                s.SoundReset = s.SoundRouteSet = sound;
                s.UseSeiriPrev = 1;
                s.SeiriPlgFile = plugin;
            });
            QCOMPARE(rig.setRoute(QStringLiteral("1")), QString());
            QCOMPARE(rig.program.tape().GetTapeCount(), 0);
            rig.click(QStringLiteral("Command2(1)"));
            QTest::qWait(200);
            QCOMPARE(rig.capture.seconds(mdlSndAPI::deviceName(mdlSndAPI::Alias::S1)), 0.0);
        }
    }

    // A file far larger than any route's is read beside the window; its announcements are
    // there once it is in.
    void aHugeAnnouncementFileIsReadInTheBackground() {
        HostileRig rig;
        QByteArray lines;
        const QByteArray line = ShiftJis::encode(QStringLiteral("次は、市役所前です。,0,1\r\n"));
        while (lines.size() <= mdlM_Tape::kBackgroundBytes)
            lines += line;
        const qint32 count = qint32(lines.size() / line.size());
        rig.write(QStringLiteral("1tp.csv"), lines);
        mdlM_Tape& tape = rig.program.tape();
        QCOMPARE(rig.setRoute(QStringLiteral("1")), QString());
        QTRY_VERIFY(!tape.Loading());
        QCOMPARE(tape.GetTapeCount(), count);
        QCOMPARE(tape.GetTapeSoundFlag(count), qint16(1));
    }

    // The kernel would end the program at a write past the file-size limit; it must fail the
    // write instead, as a full disk does, and keep the old file. Run in a child, which starts
    // with the signal's default as the program does.
    void aWritePastTheFileSizeLimitFails() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Q57.in4"));
        QVERIFY(SafeSave::write(path, QByteArray(600, 'o')));
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            SafeSave::failWritesPastFileSizeLimit();
            rlimit limit{1000, RLIM_INFINITY};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1000;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const Result<void> saved = SafeSave::write(path, QByteArray(100'000, 'n'));
            ::_exit(!saved && saved.error().number() == RuntimeError::DiskFull ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "ended by a signal");
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(FileBytes::read(path).value(), QByteArray(600, 'o'));
    }
};

QTEST_MAIN(tst_frmCtl)
#include "tst_frmCtl.moc"
