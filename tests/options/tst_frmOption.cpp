#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/ColourButton.h"
#include "options/OptionRecord.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/FileBytes.h"
#include "platform/KvRes.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"
#include "settings/DefaultSettings.h"
#include "settings/IniFile.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <optional>

using TestSupport::control;

class TestFrmOption : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void listsDependentPartsAndClosing() {
        Q57App program;
        frmOption& dialog = program.options();
        QCOMPARE(dialog.currentSettings().FixedDate,
                 QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
        for (int i = 0; i < 5; ++i) {
            QComboBox& list = control<QComboBox>(dialog, QStringLiteral("Combo4(%1)").arg(i));
            const int last = i < 4 ? 61 : 150;
            QCOMPARE(list.count(), last);
            QCOMPARE(list.itemText(last - 1), QString::number(last));
            QVERIFY(!list.isEnabled());
        }

        // A first start shows the ticket numbers: their settings are open.
        QVERIFY(control<QWidget>(dialog, QStringLiteral("Frame3")).isEnabled());
        QVERIFY(control<QGroupBox>(dialog, QStringLiteral("Frame10")).isHidden());

        auto& check3 = control<QCheckBox>(dialog, QStringLiteral("Check3(3)"));
        check3.click();
        QVERIFY(control<QComboBox>(dialog, QStringLiteral("Combo4(3)")).isEnabled());
        QVERIFY(control<QComboBox>(dialog, QStringLiteral("Combo4(4)")).isEnabled());
        control<QCheckBox>(dialog, QStringLiteral("Check1")).click();
        QVERIFY(!control<QWidget>(dialog, QStringLiteral("Frame3")).isEnabled());

        auto& preview = control<QCheckBox>(dialog, QStringLiteral("chkUseSeiriPrev"));
        control<QLineEdit>(dialog, QStringLiteral("txtSeiriPlgDir"))
            .setText(QStringLiteral("a.4SP"));
        QVERIFY(!control<QGroupBox>(dialog, QStringLiteral("Frame7")).isEnabled());
        preview.click();
        QVERIFY(!control<QGroupBox>(dialog, QStringLiteral("Frame10")).isHidden());
        QCOMPARE(dialog.currentSettings().SeiriPlgFile, QStringLiteral("a.4SP"));

        const QList<QGroupBox*> frames = dialog.findChildren<QGroupBox*>();
        QGroupBox* const on2 = *std::find_if(frames.begin(), frames.end(), [](QGroupBox* frame) {
            return frame->title() == QStringLiteral("ON2の画像：");
        });
        QVERIFY(on2->isHidden());
        control<QRadioButton>(dialog, QStringLiteral("Option3(1)")).click();
        QVERIFY(!on2->isHidden() && on2->isEnabled());
        control<QRadioButton>(dialog, QStringLiteral("Option3(0)")).click();
        QVERIFY(on2->isHidden());

        // Only "OK" closes it.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        control<QPushButton>(dialog, QStringLiteral("Command4")).click();
        QVERIFY(!dialog.isVisible());

        // Shown again, it keeps the page and the sound sub-page it had in front.
        control<QPushButton>(dialog, QStringLiteral("Option1(4)")).click();
        control<QPushButton>(dialog, QStringLiteral("Option5(0)")).click();
        control<QPushButton>(dialog, QStringLiteral("Command4")).click();
        dialog.show();
        QVERIFY(control<QWidget>(dialog, QStringLiteral("Frame1(4)")).isVisible());
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

    // Loading stops at a list position past its list (error 380): what comes before it is loaded,
    // with the parts that depend on it, and what comes after keeps its value.
    void loadingStopsAtABadListPosition() {
        Q57App program;
        frmOption& dialog = program.options();
        // Zero in every option button leaves each group with none chosen.
        const IniRecord zero;
        dialog.SetOptionInfo(zero);
        QCOMPARE(dialog.currentSettings(), zero);

        IniRecord bad;
        bad.UseSeiriNum = 1;
        bad.InfoOrderOn = 1;
        bad.InfoOrderSlot = 61;
        bad.InfoOrderFromZero = 1;
        bad.ChimeiFontBold = 2;
        try {
            dialog.SetOptionInfo(bad);
            QFAIL("a list position past its list was accepted");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 380);
        }
        IniRecord loaded = zero;
        loaded.UseSeiriNum = 1;
        loaded.InfoOrderOn = 1;
        QCOMPARE(dialog.currentSettings(), loaded);
        QVERIFY(control(dialog, QStringLiteral("Frame3")).isEnabled());
    }

    void choicesOfColourDateFileAndFolder() {
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
        M_Degit& preview = control<M_Degit>(dialog, QStringLiteral("M_Degit1"));
        QCOMPARE(QList<quint32>(
                     {preview.BackColor(), preview.BaseForeColor(), preview.DegitForeColor()}),
                 QList<quint32>({0x808080, 0x969696, 0xFF0000}));

        const QString sound = QStringLiteral("/sounds/chime.wav");
        auto& stepSound = control<QLineEdit>(dialog, QStringLiteral("txtSelectSound(7)"));
        choices.setNextFileName(sound);
        choices.setNextFileName(QString());
        control<QPushButton>(dialog, QStringLiteral("cmdSelectSound(7)")).click();
        QCOMPARE(stepSound.text(), sound);
        control<QPushButton>(dialog, QStringLiteral("cmdSelectSound(7)")).click();
        QCOMPARE(stepSound.text(), sound);
        QCOMPARE(choices.asked().last().filters[2].pattern, QStringLiteral("*.mid"));

        choices.setNextFolder(QStringLiteral("/data/放送"));
        control<QPushButton>(dialog, QStringLiteral("Command3(1)")).click();
        QCOMPARE(choices.asked().last().title, QStringLiteral("フォルダーを選択してください"));
        QCOMPARE(dialog.currentSettings().TapeDataDir, QStringLiteral("/data/放送"));
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
        QCOMPARE(capabilities.item(0)->text(), QStringLiteral("日付の印字 ---> 可能"));
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

        // Without company names the list is left as it is; a preview of no size is taken.
        companies.addItem(QStringLiteral("own"));
        QCOMPARE(dialog.SetPlgin(fixtures + QStringLiteral("flags-2.4SP")), 2);
        QVERIFY(dialog.SetPlgin(fixtures + QStringLiteral("zero-preview.4SP")) != 0);
        QCOMPARE(shown(),
                 QStringLiteral("6 lines, last 社名切り替え:---> 不可; 1 companies; 0 x 0"));
        QCOMPARE(dialog.SetPlgin(QString()), 0);

        // The stored plug-in is read with the settings; its names are added to the list.
        TestSupport::changeSettings(dialog, [&](IniRecord& s) { s.SeiriPlgFile = hoshizora; });
        QCOMPARE(shown(), QString(hoshizoraShown).replace("3 companies", "4 companies"));

        control<QPushButton>(dialog, QStringLiteral("Command11")).click();
        QVERIFY(path.text().isEmpty());
        QVERIFY(comment.toPlainText().isEmpty());
        QCOMPARE(shown(), QStringLiteral("0 lines, last ; 4 companies; 200 x 280"));
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

        // Each style's name in the list says what the labels then show: the word at position 1
        // if it names one, the first numbers after it, and the number at position 61.
        static const QRegularExpression named(
            QStringLiteral(R"(^(?:「(.*)」、|\(無地\)、)?([\d,]+)\.\.\. (\d+))"));
        auto label = [&form](int n) {
            const QString text = form.lblSeiriNum(n).text();
            return text.normalized(QString::NormalizationForm_KC).remove(u' ');
        };
        control<QCheckBox>(dialog, QStringLiteral("Check2")).click();
        QComboBox& styles = control<QComboBox>(dialog, QStringLiteral("Combo2"));
        for (int style = 0; style < 12; ++style) {
            styles.setCurrentIndex(style);
            control<QPushButton>(dialog, QStringLiteral("Command4")).click();
            const QString name = styles.itemText(style);
            const QRegularExpressionMatch parts = named.match(name);
            QVERIFY2(parts.hasMatch(), qPrintable(name));
            const int worded = name.contains(u'、') ? 1 : 0;
            if (worded != 0)
                QCOMPARE(label(1), parts.captured(1));
            const QStringList first = parts.captured(2).split(u',');
            for (int k = 0; k < first.size(); ++k)
                QCOMPARE(label(1 + worded + k), first[k]);
            QCOMPARE(label(61), parts.captured(3));
        }

        dialog.show();
        control<QCheckBox>(dialog, QStringLiteral("Check1")).click();
        control<QPushButton>(dialog, QStringLiteral("Command4")).click();
        QVERIFY(form.lblSeiriNum(1).isHidden() && form.lblSeiriNum(61).isHidden());
        QVERIFY(!form.lblSeiriNum(0).isHidden());
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
};

QTEST_MAIN(TestFrmOption)
#include "tst_frmOption.moc"
