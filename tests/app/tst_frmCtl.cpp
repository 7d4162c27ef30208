#include "Q57App.h"
#include "app/FareFileBytes.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace FareFileBytes;

namespace {

const QColor kLit(248, 210, 114);

// The program with its two windows, reading fare files from a folder of the test's own.
struct Rig {
    QTemporaryDir folder;
    Q57App program;
    Form1& form = program.form();
    frmCtl* ctl = &program.operatingPanel();

    Rig() {
        program.start();
        ctl->setLampTestMilliseconds(0);
        settings([this](IniRecord& s) { s.FareDataDir = folder.path(); });
    }

    void settings(const std::function<void(IniRecord&)>& change) {
        IniRecord s = program.options().currentSettings();
        change(s);
        program.options().SetOptionInfo(s);
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    template <typename Widget = QAbstractButton> Widget& control(const QString& name) {
        auto* widget = ctl->findChild<Widget*>(name);
        if (widget == nullptr)
            qFatal("no control %s", qPrintable(name));
        return *widget;
    }
    void click(const QString& name) { QTest::mouseClick(&control(name), Qt::LeftButton); }
    void keys(const QString& sequence) {
        for (QChar c : sequence)
            click(c == u'R'   ? QStringLiteral("CommandButton1(10)")
                  : c == u'S' ? QStringLiteral("CommandButton1(11)")
                              : QStringLiteral("CommandButton1(%1)").arg(c));
    }
    // Route setting on the keypad; the message box it shows, if any, is answered and returned.
    QString setRoute(const QString& route, const QString& section) {
        QString message;
        TestSupport::ModalAnswer answer([&message](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        keys(QStringLiteral("R") + route + QStringLiteral("S") + section);
        click(QStringLiteral("Command1(1)"));
        return message;
    }
    QVariant value(int position) const { return form.Degit(position).Value(); }
    DataIo& data() const { return ctl->RouteData(); }
};

// Whether the strip shows the name, compared with a strip of the same settings given it alone.
bool stripShows(ChimeiCtl_B& strip, const QString& name) {
    ChimeiCtl_B reference;
    reference.setBackColor(strip.BackColor());
    reference.setForeColor(strip.ForeColor());
    reference.setFontMode(strip.FontMode());
    reference.setFontBold(strip.FontBold());
    reference.SetChimei(name);
    return reference.canvas() == strip.canvas();
}

} // namespace

class tst_frmCtl : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void panelAsItStarts() {
        Rig rig;
        frmCtl& ctl = *rig.ctl;
        QCOMPARE(rig.form.windowTitle(),
                 QStringLiteral("Velmora - 型番:") +
                     QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
        QCOMPARE(ctl.windowTitle(), QStringLiteral("集中操作盤"));
        QCOMPARE(ctl.size(), QSize(353, 173));
        const QRect screen = ctl.screen()->availableGeometry();
        QCOMPARE(ctl.frameGeometry().bottomRight(), screen.bottomRight());
        for (const char* locked : {"Command2(0)", "Command2(1)", "Check1"})
            QVERIFY(!rig.control(locked).isEnabled());
        auto& tape = rig.control<QGroupBox>(QStringLiteral("grpM_Tape"));
        QCOMPARE(tape.title(), QStringLiteral("音合使用不可"));
        QVERIFY(!tape.isEnabled());
        QCOMPARE(rig.control(QStringLiteral("CommandButton1(0)")).mask(),
                 QRegion(2, 2, 26, 23) - QRegion(2, 2, 1, 1) - QRegion(27, 2, 1, 1) -
                     QRegion(2, 24, 1, 1) - QRegion(27, 24, 1, 1));

        // The panel in front is the one the middle of the input column belongs to.
        auto inFront = [&ctl] {
            QWidget* hit = ctl.childAt(66, 80);
            while (hit->parentWidget() != &ctl)
                hit = hit->parentWidget();
            return hit->objectName();
        };
        QCOMPARE(inFront(), QStringLiteral("Frame1(0)"));
        QTest::mouseDClick(&rig.control<QFrame>(QStringLiteral("Frame1(0)")), Qt::LeftButton, {},
                           QPoint(2, 150));
        QCOMPARE(inFront(), QStringLiteral("Frame1(1)"));

        auto& toggle = rig.control(QStringLiteral("Check4"));
        QTest::mouseClick(&toggle, Qt::LeftButton);
        QCOMPARE(ctl.width(), 594);
        QCOMPARE(toggle.text(), QStringLiteral("<<"));
        QCOMPARE(toggle.toolTip(), QStringLiteral("整理券プレビューを隠します"));

        rig.control<QScrollBar>(QStringLiteral("HScroll1(0)")).setValue(150);
        rig.control<QScrollBar>(QStringLiteral("HScroll1(1)")).setValue(2500);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("Label1(0)")).text(), QStringLiteral("150"));
        QCOMPARE(rig.form.ChimeiCtl().Speed(), 150);
        QCOMPARE(rig.form.ChimeiCtl().ScrollStartWait(), 2500);

        IniRecord saved;
        QTest::mouseClick(&rig.control(QStringLiteral("Check2")), Qt::LeftButton);
        ctl.GetCtrlDataInfo(saved);
        QCOMPARE(saved.CtlViewMode, 0);
        QCOMPARE(saved.PreviewOpen, 1);
        QCOMPARE(saved.LateNightFare, 1);
        QCOMPARE(saved.ScrollSpeed, 150);
        QCOMPARE(saved.ScrollInterval, 2500);

        IniRecord restored = saved;
        restored.CtlLeft = 1500;
        restored.CtlTop = 750;
        restored.PreviewOpen = 0;
        restored.LateNightFare = 0;
        restored.ScrollSpeed = 7;
        restored.CtlViewMode = 1;
        ctl.SetCtrlDataInfo(restored);
        QCOMPARE(ctl.pos(), QPoint(100, 50));
        QCOMPARE(ctl.width(), 353);
        QCOMPARE(rig.control<QLabel>(QStringLiteral("Label1(0)")).text(), QStringLiteral("7"));
        QVERIFY(!rig.control(QStringLiteral("Check2")).isChecked());
        QCOMPARE(inFront(), QStringLiteral("Frame1(0)"));
        IniRecord again;
        ctl.GetCtrlDataInfo(again);
        QCOMPARE(again.CtlViewMode, 1);
        QCOMPARE(again.CtlLeft, 1500);
    }

    void keypadAndListEntry() {
        Rig rig;
        rig.write("0.hy3", simpleRoute(4));
        rig.write("12.hy3", simpleRoute(5));
        auto display = [&rig](int k) {
            return rig.control<QLabel>(QStringLiteral("Label2(%1)").arg(k)).text();
        };
        // Until 系統 is pressed, digits are the section's; an empty route reads 0.hy3.
        rig.keys(QStringLiteral("2"));
        QCOMPARE(display(2), QStringLiteral("2"));
        QCOMPARE(display(0), QString());
        rig.click(QStringLiteral("Command1(1)"));
        QCOMPARE(rig.data().StopCount, 4);
        QCOMPARE(rig.data().CurStop, 1);

        rig.keys(QStringLiteral("R123456S1234"));
        QCOMPARE(display(0), QStringLiteral("12345"));
        QCOMPARE(display(2), QStringLiteral("123"));

        QCOMPARE(rig.setRoute(QStringLiteral("00012"), QStringLiteral("000")), QString());
        QCOMPARE(rig.data().RouteNo, QStringLiteral("00012"));
        QCOMPARE(rig.data().StartSection, 1);
        QCOMPARE(rig.data().StopCount, 5);
        QVERIFY(rig.setRoute(QStringLiteral("12"), QStringLiteral("999"))
                    .startsWith(QStringLiteral("指定した区間は")));
        QCOMPARE(rig.data().StartSection, 300);

        // Lists: route 0 0 0 1 2, section 0 0 3; with every list at 0 the route is 0.
        const int route[5] = {0, 0, 0, 1, 2}, section[3] = {0, 0, 3};
        for (int k = 0; k < 5; ++k)
            rig.control<QListWidget>(QStringLiteral("List2(%1)").arg(k)).setCurrentRow(route[k]);
        for (int k = 0; k < 3; ++k)
            rig.control<QListWidget>(QStringLiteral("List3(%1)").arg(k)).setCurrentRow(section[k]);
        rig.click(QStringLiteral("Command1(0)"));
        QCOMPARE(rig.data().RouteNo, QStringLiteral("00012"));
        QCOMPARE(rig.data().StartSection, 3);
        QCOMPARE(rig.data().CurStop, 2);
        QCOMPARE(rig.data().StopCount, 5);
        rig.control<QListWidget>(QStringLiteral("List2(3)")).setCurrentRow(0);
        rig.control<QListWidget>(QStringLiteral("List2(4)")).setCurrentRow(0);
        rig.click(QStringLiteral("Command1(0)"));
        QCOMPARE(rig.data().StopCount, 4);
    }

    void refusalsKeepTheOldRoute() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(10));
        rig.write("20.hy3", count(0));
        rig.write("21.hy3", simpleRoute(1));
        rig.write("22.hy3", count(-1) + record("A", 1, {}));
        rig.write("23.hy3", count(302) + simpleRoute(302).mid(2));
        const QByteArray cut = simpleRoute(3);
        rig.write("24.hy3", cut.left(cut.size() - 10));
        QCOMPARE(rig.setRoute(QStringLiteral("12"), QStringLiteral("8")), QString());

        const QString tooLarge = QStringLiteral(
            "指定した区間はデータの数よりも多いです...\n  解決法：正しい区間を入力して下さい.");
        const struct {
            const char* route;
            const char* section;
            QString message;
        } cases[] = {
            {"99", "1", QStringLiteral("指定した系統のデータがありません...")},
            {"20", "1", QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...")},
            {"21", "1", tooLarge},
            {"22", "1", tooLarge},
            {"12", "10", tooLarge},
            {"23", "1",
             QStringLiteral("指定した系統のデータの数が301を超えています。"
                            "このデータは扱えません...")},
            {"24", "1",
             QStringLiteral("指定した系統のデータファイルが途中で切れています"
                            "（ファイルが壊れている可能性があります）...")},
        };
        for (const auto& c : cases)
            QCOMPARE(rig.setRoute(QString::fromLatin1(c.route), QString::fromLatin1(c.section)),
                     c.message);

        // Stepping goes on along route 12 from record 8, up to its last record; the section
        // entered last (1) is where the fares now start.
        QCOMPARE(rig.value(3), QVariant(0));
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.value(3), QVariant(903));
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.data().CurStop, 9);
        QCOMPARE(rig.value(3), QVariant(1003));
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.data().CurStop, 9);
        QVERIFY(stripShows(rig.form.ChimeiCtl(), QStringLiteral("S10")));
    }

    void lampTestLightsEverythingAndTakesNoInput() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(6));
        rig.setRoute(QStringLiteral("12"), QStringLiteral("1"));
        rig.ctl->setLampTestMilliseconds(300);
        QStringList shown;
        bool stripLit = false;
        QTimer::singleShot(100, [&] {
            for (int n = 1; n <= 61; ++n)
                shown << TestSupport::readSegments(TestSupport::grabbed(rig.form.Degit(n)), 13, 20,
                                                   kLit);
            stripLit = stripShows(rig.form.ChimeiCtl(), QStringLiteral("系統選別中"));
            rig.click(QStringLiteral("Command2(1)"));
        });
        rig.setRoute(QStringLiteral("12"), QStringLiteral("2"));
        QCOMPARE(shown, QStringList(61, QStringLiteral("8888")));
        QVERIFY(stripLit);
        QCOMPARE(rig.data().CurStop, 1);
        QCOMPARE(rig.value(1), QVariant(0));
        QCOMPARE(rig.value(2), QVariant(202));
    }

    void displayUpdate() {
        Rig rig;
        // Stop 2 ("駅前") has fares 180 and -1 at positions 3 and 4, column 62 holds 7.
        QList<int> fares(62, 0);
        fares[2] = 180, fares[3] = -1, fares[61] = 7;
        QByteArray route = count(5) + record("A", 1, {100, 0, 120}) +
                           record(ShiftJis::encode(QStringLiteral("駅前")), 2, fares);
        for (int r = 3; r <= 5; ++r)
            route += record("B", r, {r, r, r, r, r, r, r});
        rig.write("12.hy3", route);

        QCOMPARE(rig.setRoute(QStringLiteral("00012"), QStringLiteral("3")), QString());
        QCOMPARE(rig.value(1), QVariant(0));
        QCOMPARE(rig.value(3), QVariant(3));
        QCOMPARE(rig.value(7), QVariant(3));
        rig.click(QStringLiteral("Command2(1)"));
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.value(7), QVariant(5));
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.data().CurStop, 4);
        for (int back = 0; back < 5; ++back)
            rig.click(QStringLiteral("Command2(0)"));
        QCOMPARE(rig.data().CurStop, 0);
        QCOMPARE(rig.value(3), QVariant(120));
        QCOMPARE(rig.value(2), QVariant(0));

        // Information digits over fares; night fare doubles fares but not the column shown.
        rig.settings([](IniRecord& s) {
            s.InfoRouteOn = 1, s.InfoRouteSlot = 0;
            s.InfoOrderOn = 1, s.InfoOrderSlot = 4;
            s.InfoColumnOn = 1, s.InfoColumn = 61, s.InfoColumnSlot = 5;
        });
        QTest::mouseClick(&rig.control(QStringLiteral("Check2")), Qt::LeftButton);
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.value(1), QVariant(QStringLiteral("00012")));
        QCOMPARE(TestSupport::readSegments(TestSupport::grabbed(rig.form.Degit(1)), 13, 20, kLit),
                 QStringLiteral("0012"));
        QCOMPARE(rig.value(3), QVariant(360));
        QCOMPARE(rig.value(4), QVariant(-1));
        QCOMPARE(rig.value(5), QVariant(2));
        QCOMPARE(rig.value(6), QVariant(7));
        QVERIFY(stripShows(rig.form.ChimeiCtl(), QStringLiteral("駅前")));

        // Blank: every digit and the strip empty, the listed controls locked.
        QTest::mouseClick(&rig.control(QStringLiteral("Check1")), Qt::LeftButton);
        for (int n : {1, 3, 61})
            QCOMPARE(rig.value(n), QVariant(QString()));
        QVERIFY(stripShows(rig.form.ChimeiCtl(), QString()));
        for (const char* locked :
             {"Frame1(0)", "Frame1(1)", "Command2(0)", "Command2(1)", "grpM_Tape", "Frame6"})
            QVERIFY2(!rig.control<QWidget>(locked).isEnabled(), locked);
        for (const char* usable : {"Option4(1)", "Command4", "Command8", "Check4", "Check1"})
            QVERIFY2(rig.control<QWidget>(usable).isEnabled(), usable);
        QTest::mouseClick(&rig.control(QStringLiteral("Check1")), Qt::LeftButton);
        for (const char* unlocked : {"Frame1(0)", "Frame1(1)", "Command2(0)", "Frame6"})
            QVERIFY2(rig.control<QWidget>(unlocked).isEnabled(), unlocked);
        QVERIFY(!rig.control<QWidget>(QStringLiteral("grpM_Tape")).isEnabled());
        QCOMPARE(rig.value(2), QVariant(QString()));
        QCOMPARE(rig.value(3), QVariant(360));
        QCOMPARE(rig.value(1), QVariant(QStringLiteral("00012")));

        // From section 62 on no fare is written; the information digits still follow.
        rig.settings([](IniRecord& s) { s.InfoRouteOn = 0, s.InfoColumnOn = 0; });
        QVERIFY(rig.setRoute(QStringLiteral("12"), QStringLiteral("62"))
                    .startsWith(QStringLiteral("指定した区間は")));
        QByteArray long64 = count(64);
        for (int r = 1; r <= 64; ++r)
            long64 += record("L", r, {r, r, r, r, r, r, r});
        rig.write("64.hy3", long64);
        QCOMPARE(rig.setRoute(QStringLiteral("64"), QStringLiteral("62")), QString());
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(rig.value(3), QVariant(0));
        QCOMPARE(rig.value(5), QVariant(63));
    }

    void backlight() {
        Rig rig;
        QImage on1(755, 307, QImage::Format_RGB32);
        on1.fill(Qt::blue);
        rig.form.imgRes(1) = on1;
        QTest::mouseClick(&rig.control(QStringLiteral("Option4(1)")), Qt::LeftButton);
        QCOMPARE(rig.form.Picture(), on1);
        QCOMPARE(rig.form.lblSeiriNum(61).palette().color(QPalette::WindowText),
                 QColor(0xC0, 0xFF, 0xC0));

        // Pictures of the user's own: a missing file keeps the picture and says nothing.
        QFile text(rig.folder.filePath("notes.bmp"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture\n");
        text.close();
        rig.settings([&rig](IniRecord& s) {
            s.PanelAuto = 0, s.PanelManual = -1;
            s.PanelOn2BuiltIn = 0, s.PanelOn2User = -1;
            s.PanelImageOn2 = rig.folder.filePath("missing.bmp");
            s.PanelOffBuiltIn = 0, s.PanelOffUser = -1;
            s.PanelImageOff = rig.folder.filePath("notes.bmp");
            s.SeiriNumColorOn2 = 0x0000FF, s.SeiriNumColorOff = 0x00FF00;
        });
        {
            TestSupport::ModalAnswer none(
                [](QWidget* box) { static_cast<QDialog*>(box)->reject(); });
            QTest::mouseClick(&rig.control(QStringLiteral("Option4(2)")), Qt::LeftButton);
            QVERIFY(!none.answered());
        }
        QCOMPARE(rig.form.Picture(), on1);
        QCOMPARE(rig.form.lblSeiriNum(1).palette().color(QPalette::WindowText), QColor(255, 0, 0));

        QString message, caption;
        TestSupport::ModalAnswer error([&](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            caption = box->windowTitle();
            static_cast<QMessageBox*>(box)->accept();
        });
        QTest::mouseClick(&rig.control(QStringLiteral("Option4(0)")), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("エラー"));
        QCOMPARE(message,
                 QStringLiteral("エラーです。\n\nエラーコード：481"
                                "　指定した画像の内容が不正です。この部分では扱えません。"));
        QCOMPARE(rig.form.Picture(), on1);
        QCOMPARE(rig.form.lblSeiriNum(1).palette().color(QPalette::WindowText), QColor(0, 255, 0));
    }

    void dialogsMenuAndClosing() {
        Rig rig;
        rig.write("12.hy3", count(2) + record("AB", 1, {}) + record("CD", 2, {}));
        rig.setRoute(QStringLiteral("12"), QStringLiteral("1"));
        QTest::mouseClick(&rig.control(QStringLiteral("Check1")), Qt::LeftButton);

        bool bothDisabled = false;
        TestSupport::ModalAnswer options(
            [&](QWidget* dialog) {
                bothDisabled = !rig.form.isEnabled() && !rig.ctl->isEnabled();
                dialog->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
            },
            "frmOption");
        rig.click(QStringLiteral("Command4"));
        QVERIFY(options.answered());
        QVERIFY(bothDisabled);
        QVERIFY(rig.form.isEnabled() && rig.ctl->isEnabled());
        QVERIFY(stripShows(rig.form.ChimeiCtl(), QStringLiteral("AB")));
        QCOMPARE(rig.value(1), QVariant(QString()));

        QStringList about;
        bool panelDisabled = false;
        TestSupport::ModalAnswer version([&](QWidget* box) {
            about = static_cast<QMessageBox*>(box)->text().split(u'\n');
            panelDisabled = !rig.form.isEnabled();
            static_cast<QMessageBox*>(box)->accept();
        });
        rig.click(QStringLiteral("Command8"));
        QVERIFY(panelDisabled);
        QVERIFY(rig.form.isEnabled());
        QCOMPARE(about.size(), 6);
        QCOMPARE(about[0],
                 QStringLiteral("型番：") +
                     QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
        QCOMPARE(about[1], QStringLiteral("バージョン：4.0.0"));
        QVERIFY(about[4].endsWith(QString::number(QDate::currentDate().year())));

        auto& preview = rig.control<QLabel>(QStringLiteral("picSeirikenPrev"));
        QTest::mouseClick(&preview, Qt::RightButton, {}, QPoint(10, 10));
        auto* menu = rig.ctl->findChild<QMenu*>(QStringLiteral("MnuHide"));
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("コピー(&C)"));
        menu->actions().at(0)->trigger();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(220, 93));

        TestSupport::ModalAnswer no([](QWidget* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("Velmoraの終了確認"));
            QCOMPARE(static_cast<QMessageBox*>(box)->text(),
                     QStringLiteral("Velmoraを終了しますか？"));
            static_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
        });
        rig.ctl->close();
        QVERIFY(no.answered());
        QVERIFY(rig.ctl->isVisible());
        QVERIFY(rig.form.isVisible());
    }

    void closingEndsWithAnEmptyStrip() {
        Rig rig;
        rig.form.ChimeiCtl().SetChimei(QStringLiteral("北町"));
        TestSupport::ModalAnswer yes([](QWidget* box) {
            static_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
        });
        QVERIFY(rig.ctl->close());
        QVERIFY(stripShows(rig.form.ChimeiCtl(), QString()));
        QVERIFY(!rig.ctl->isVisible());
        QVERIFY(!rig.form.isVisible());
    }
};

QTEST_MAIN(tst_frmCtl)
#include "tst_frmCtl.moc"
