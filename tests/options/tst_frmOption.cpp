#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "options/ColourButton.h"
#include "options/OptionRecord.h"
#include "options/PluginCapabilities.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/FileBytes.h"
#include "platform/KvRes.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"
#include "settings/DefaultSettings.h"
#include "settings/IniFile.h"
#include "support/TestSupport.h"
#include "ticket/TicketPlugin.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>
#include <optional>

using TestSupport::control;

class TestFrmOption : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void todayClosingByOkAndThePageKept() {
        Q57App program;
        frmOption& dialog = program.options();
        QCOMPARE(dialog.currentSettings().FixedDate,
                 QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));

        // Only "OK" closes it.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.close());
        control<QPushButton>(dialog, QStringLiteral("Command4")).click();
        QVERIFY(!dialog.isVisible());

        // Shown again, it keeps the page and the sound sub-page it had in front (on that page).
        control<QPushButton>(dialog, QStringLiteral("Option1(4)")).click();
        control<QPushButton>(dialog, QStringLiteral("Option5(0)")).click();
        control<QPushButton>(dialog, QStringLiteral("Command4")).click();
        dialog.show();
        QVERIFY(control<QWidget>(dialog, QStringLiteral("Frame2(0)")).isVisible());
        QVERIFY(!control<QWidget>(dialog, QStringLiteral("Frame2(1)")).isVisible());
    }

    // The record the other parts read follows every control as it changes, whatever changes it.
    void theKeptRecordFollowsTheControls() {
        Q57App program;
        frmOption& dialog = program.options();
        const auto rebuilt = [&dialog] {
            IniRecord now;
            dialog.GetOptionInfo(now);
            return now;
        };
        for (QLineEdit* box : dialog.findChildren<QLineEdit*>())
            box->setText(box->objectName());
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            box->click();
        for (QRadioButton* button : dialog.findChildren<QRadioButton*>())
            button->click();
        for (QComboBox* list : dialog.findChildren<QComboBox*>())
            list->setCurrentIndex(list->count() - 1);
        for (ColourButton* button : dialog.findChildren<ColourButton*>())
            button->setBackColor(0x123456);
        KvRes::ChoiceHook choices;
        choices.setNextDate(QDate(2030, 12, 31));
        control<QPushButton>(dialog, QStringLiteral("Command7")).click();
        QCOMPARE(dialog.currentSettings().FixedDate, QStringLiteral("2030/12/31"));
        QCOMPARE(dialog.currentSettings(), rebuilt());
    }

    void colourChoiceAndTheCustomColours() {
        Q57App program;
        frmOption& dialog = program.options();
        std::array<quint32, 17>& custom = program.IniData().CustColors;
        custom[0] = 0x00FF00;
        custom[16] = 0xABCDEF;
        // Qt keeps the dialog's table between runs; it must come from ours.
        QColorDialog::setCustomColor(0, Qt::black);
        auto& lit = control<ColourButton>(dialog, QStringLiteral("Command8(2)"));
        KvRes::ChoiceHook choices;
        // Cancelled, the colour stays. The dialog shows the custom colours kept and they come
        // back with the user's changes all the same, in the 16 places the dialog has.
        choices.setNextColour(std::nullopt, {{1, 0x030201}});
        lit.click();
        QCOMPARE(choices.asked().at(0).colour, 0x72D2F8u);
        QCOMPARE(lit.BackColor(), 0x72D2F8u);
        QCOMPARE(QList<quint32>({custom[0], custom[1], custom[16]}),
                 QList<quint32>({0x00FF00, 0x030201, 0xABCDEF}));
        choices.setNextColour(0xFF0000);
        lit.click();
        QCOMPARE(lit.BackColor(), 0xFF0000u);
    }

    void pluginChoiceAndClearing() {
        Q57App program;
        frmOption& dialog = program.options();
        const QString fixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/plugins/");
        const QString hoshizora =
            QStringLiteral(Q57_SOURCE_DIR "/data/plugins/hoshizora-barcode.4SP");
        auto& path = control<QLineEdit>(dialog, QStringLiteral("txtSeiriPlgDir"));
        auto& capabilities = control<QListWidget>(dialog, QStringLiteral("List1"));
        auto& comment = control<QPlainTextEdit>(dialog, QStringLiteral("txtPlginComment"));
        QComboBox& companies = program.operatingPanel().Combo1();
        QWidget& preview = control(program.operatingPanel(), QStringLiteral("picSeirikenPrev"));
        auto shown = [&] {
            return QStringLiteral("%1 lines, last %2; %3 companies; %4 x %5")
                .arg(capabilities.count())
                .arg(capabilities.count() ? capabilities.item(capabilities.count() - 1)->text()
                                          : QString())
                .arg(companies.count())
                .arg(preview.width())
                .arg(preview.height());
        };
        const QString hoshizoraShown =
            QStringLiteral("10 lines, last 社名切り替え:---> 可能; 3 companies; 200 x 280");
        control<QCheckBox>(dialog, QStringLiteral("chkUseSeiriPrev")).click();
        KvRes::ChoiceHook choices;
        MessageBoxHook boxes;
        auto choose = [&](const QString& file) {
            choices.setNextFileName(file);
            control<QPushButton>(dialog, QStringLiteral("Command1")).click();
        };

        choose(hoshizora);
        QCOMPARE(choices.asked().last().title, QStringLiteral("プラグインの選択"));
        QCOMPARE(path.text(), hoshizora);
        QCOMPARE(shown(), hoshizoraShown);
        QVERIFY(comment.toPlainText().startsWith(QStringLiteral("ほしぞら交通 整理券")));
        QCOMPARE(companies.itemText(2), QStringLiteral("ほしぞら観光バス"));
        QVERIFY(boxes.asked().isEmpty());

        // A refused file: the message once, the old plug-in still shown and kept, but the
        // company list emptied.
        const QString described = comment.toPlainText();
        choose(fixtures + QStringLiteral("version-2.4SP"));
        const MessageBoxHook::Asked refusal{
            QMessageBox::Critical,
            QStringLiteral("プラグインロードエラー"),
            QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"),
            QMessageBox::Ok,
            QString(),
            QStringLiteral("ファイル：") + fixtures + QStringLiteral("version-2.4SP")};
        QVERIFY(boxes.asked() == QList({refusal}));
        QCOMPARE(path.text(), hoshizora);
        QCOMPARE(shown(), QString(hoshizoraShown).replace("3 companies", "0 companies"));
        QCOMPARE(comment.toPlainText(), described);

        // The stored plug-in is read with the settings; its names are added to the list.
        TestSupport::changeSettings(dialog, [&](IniRecord& s) { s.SeiriPlgFile = hoshizora; });
        QCOMPARE(shown(), hoshizoraShown);

        control<QPushButton>(dialog, QStringLiteral("Command11")).click();
        QVERIFY(path.text().isEmpty());
        QVERIFY(comment.toPlainText().isEmpty());
        QCOMPARE(shown(), QStringLiteral("0 lines, last ; 3 companies; 200 x 280"));
    }

    void okReappliesTheDisplayChoices() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        form.show();
        frmOption& dialog = program.options();
        form.lblSeiriNum(5).setText(QStringLiteral("x"));
        dialog.show();
        control<QComboBox>(dialog, QStringLiteral("Combo2")).setCurrentIndex(3);
        control<QCheckBox>(dialog, QStringLiteral("Check2")).click();
        control<ColourButton>(dialog, QStringLiteral("Command5(0)")).setBackColor(0x0000FF);
        control<QComboBox>(dialog, QStringLiteral("Combo3")).setCurrentIndex(1);
        control<QCheckBox>(dialog, QStringLiteral("Check4")).click();
        control<QPushButton>(dialog, QStringLiteral("Command4")).click();

        QCOMPARE(form.lblSeiriNum(5).text(), QStringLiteral("０５"));
        QCOMPARE(form.lblSeiriNum(61).palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(form.ChimeiCtl().FontMode(), 1);
        QVERIFY(form.ChimeiCtl().FontBold());
    }

    // Settings judged to be taken as they are come back from the controls unchanged, so a start
    // may keep them without the dialog; each slip past a limit is one the controls refuse or
    // put right.
    void optionRecordJudgesAsTheControlsDo() {
        Q57App program;
        frmOption& dialog = program.options();
        const auto shown = [&dialog](const IniRecord& ini) -> std::optional<IniRecord> {
            try {
                dialog.SetOptionInfo(ini);
            } catch (const RuntimeError&) {
                return std::nullopt;
            }
            IniRecord back = ini;
            dialog.GetOptionInfo(back);
            return back;
        };
        const IniRecord every =
            IniFile::decode(
                FileBytes::read(
                    QStringLiteral(Q57_SOURCE_DIR "/tests/data/settings/every-item-set.in4"))
                    .value())
                .value();
        IniRecord limits = DefaultSettings::record();
        limits.SeiriNumStyle = 11;
        limits.InfoColumnSlot = 60;
        limits.InfoColumn = 149;
        limits.ChimeiFontMode = 4;
        limits.StepSoundColumn = 149;
        limits.UseSeiriPrev = 2;
        limits.FareDataDir = QString(32767, u'a');
        for (const IniRecord& kept : {every, limits}) {
            QVERIFY(OptionRecord::takenAsIs(kept));
            QCOMPARE(shown(kept), kept);
        }
        const std::function<void(IniRecord&)> slips[] = {
            [](IniRecord& i) { i.SeiriNumStyle = 12; },
            [](IniRecord& i) { i.InfoColumnSlot = 61; },
            [](IniRecord& i) { i.InfoColumn = 150; },
            [](IniRecord& i) { i.ChimeiFontMode = 5; },
            [](IniRecord& i) { i.StepSoundColumn = -2; },
            [](IniRecord& i) { i.UseSeiriPrev = 3; },
            [](IniRecord& i) { i.PanelManual = -1; },
            [](IniRecord& i) { i.DateUpdateOnPrint = 1; },
            [](IniRecord& i) { i.FareDataDir = QString(32768, u'a'); },
        };
        for (const auto& slip : slips) {
            IniRecord slipped = limits;
            slip(slipped);
            QVERIFY(!OptionRecord::takenAsIs(slipped));
            QVERIFY(shown(slipped) != slipped);
        }
    }

    void linesForTheCapabilityRecord() {
        PlgInfo info;
        info.CanDate = info.CanStopName = info.CanBarcode = 1;
        info.BarcodeCount = 2, info.MaxRouteNo = 300, info.BarcodeRouteMode = 1;
        info.StopRangeFrom = -1, info.StopRangeTo = 61, info.CorpSwitch = 1;
        QCOMPARE(
            PluginCapabilities::lines(info).join(u'|'),
            QStringLiteral("日付の印字 ---> 可能|時刻の印字 ---> 不可|系統番号の印字 ---> 不可|"
                           "停名の印字 ---> 可能|バーコード印字 ---> 可能|バーコード本数 ---> 2|"
                           "バーコード系統方式 ---> 連番式|設定可能な系統範囲 ---> 1 ～ 300|"
                           "停留所認識範囲 ---> -1 ～ 61|社名切り替え:---> 可能"));
        info.BarcodeRouteMode = 2, info.CorpSwitch = 40;
        const QStringList modeTwo = PluginCapabilities::lines(info);
        QCOMPARE(modeTwo[6], QStringLiteral("バーコード系統方式 ---> 系統番号＋往復フラグ"));
        QCOMPARE(modeTwo[9], QStringLiteral("社名切り替え:---> 可能"));

        // Only exactly 1 counts: flags of 2 print nothing, and without a bar code its four
        // lines are left out whatever the fields hold.
        info.CanDate = info.CanTime = info.CanRouteNo = info.CanStopName = info.CanBarcode = 2;
        info.CorpSwitch = 0;
        const QStringList six = PluginCapabilities::lines(info);
        QCOMPARE(six.size(), 6);
        QCOMPARE(six.filter(QStringLiteral("---> 不可")), six);
        QCOMPARE(six.last(), QStringLiteral("社名切り替え:---> 不可"));
    }
};

QTEST_MAIN(TestFrmOption)
#include "tst_frmOption.moc"
