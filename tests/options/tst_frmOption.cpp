#include "Q57App.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/ColourButton.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/DateChoiceDialog.h"
#include "platform/RuntimeError.h"
#include "support/TestSupport.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

namespace {

// A record in which every setting differs from the dialog's defaults.
IniRecord everyFieldChanged() {
    IniRecord r;
    r.FareDataDir = QStringLiteral("/data/運賃");
    r.TapeDataDir = QStringLiteral("/data/放送");
    r.UseSeiriNum = 1;
    r.SeiriNumColorOff = 0x010203;
    r.SeiriNumColorOn1 = 0x040506;
    r.SeiriNumColorOn2 = 0x070809;
    r.SeiriNumStyle = 11;
    r.SeiriNumZeroPad = 1;
    r.PanelAuto = 0;
    r.PanelManual = -1;
    r.PanelOffBuiltIn = 0;
    r.PanelOffUser = -1;
    r.PanelOn1BuiltIn = 0;
    r.PanelOn1User = -1;
    r.PanelOn2BuiltIn = 0;
    r.PanelOn2User = -1;
    r.PanelImageOff = QStringLiteral("off.bmp");
    r.PanelImageOn1 = QStringLiteral("on1.gif");
    r.PanelImageOn2 = QStringLiteral("on2.jpg");
    r.DegitBackColor = 0x101010;
    r.DegitBaseForeColor = 0x202020;
    r.DegitForeColor = 0x0000FF;
    r.InfoOrderOn = 1;
    r.InfoOrderSlot = 60;
    r.InfoOrderFromZero = 1;
    r.InfoSeiriNumOn = 1;
    r.InfoSeiriNumSlot = 1;
    r.InfoRouteOn = 1;
    r.InfoRouteSlot = 2;
    r.InfoColumnOn = 1;
    r.InfoColumn = 149;
    r.InfoColumnSlot = 3;
    r.ChimeiBackColor = 0x303030;
    r.ChimeiForeColor = 0x404040;
    r.ChimeiFontMode = 4;
    r.ChimeiFontBold = 2;
    r.SoundRouteSet = QStringLiteral("route.wav");
    r.SoundReset = QStringLiteral("reset.wav");
    r.StepSoundAlways = 0;
    r.StepSoundByColumn = -1;
    r.StepSoundSync = -1;
    r.StepSoundAsync = 0;
    r.StepSoundFile = QStringLiteral("step.wav");
    r.StepSoundColumn = 70;
    r.StepSoundFile1 = QStringLiteral("step1.mp3");
    r.StepSoundFile2 = QStringLiteral("step2.mp3");
    r.StepSoundFile3 = QStringLiteral("step3.mid");
    r.PreSoundAlways = 0;
    r.PreSoundByFlag = -1;
    r.PreSoundSync = 0;
    r.PreSoundAsync = -1;
    r.PreSoundFile = QStringLiteral("pre.wav");
    r.PreSoundFile1 = QStringLiteral("pre1.wav");
    r.PreSoundFile2 = QStringLiteral("pre2.wav");
    r.PreSoundFile3 = QStringLiteral("pre3.wav");
    r.UseSeiriPrev = 1;
    r.SeiriPlgFile = QStringLiteral("ticket.4SP");
    r.DateUpdateOnPrint = 0;
    r.DateKeepAtRouteSet = 0;
    r.DateFixed = -1;
    r.FixedDate = QStringLiteral("2025/04/01");
    return r;
}

template <typename Widget> Widget& child(QWidget& parent, const QString& name) {
    auto* found = parent.findChild<Widget*>(name);
    if (found == nullptr)
        qFatal("no control %s", qPrintable(name));
    return *found;
}

// Answers the next file or folder dialog with the path, or cancels it for an empty path, and
// keeps what the dialog offered.
struct FileAnswer {
    QString title;
    QStringList filters;
    TestSupport::ModalAnswer answer;
    explicit FileAnswer(const QString& path)
        : answer(
              [this, path](QWidget* modal) {
                  auto* dialog = qobject_cast<QFileDialog*>(modal);
                  QVERIFY(dialog);
                  title = dialog->windowTitle();
                  filters = dialog->nameFilters();
                  if (path.isEmpty())
                      return dialog->reject();
                  // Typed into the name box, as a person would.
                  if (QFileInfo(path).isDir())
                      dialog->setDirectory(path);
                  else
                      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                  static_cast<QDialog*>(dialog)->accept();
              },
              "QFileDialog") {}
};

} // namespace

class TestFrmOption : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void everyDefaultAtCreation() {
        Q57App program;
        frmOption& dialog = program.options();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("オプション"));
        QCOMPARE(dialog.size(), QSize(638, 374));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));

        const IniRecord s = dialog.currentSettings();
        QCOMPARE(s.ChimeiFontMode, qint16(-1));
        QCOMPARE(s.FixedDate, QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
        QCOMPARE(QList<quint32>({s.SeiriNumColorOff, s.SeiriNumColorOn1, s.SeiriNumColorOn2,
                                 s.DegitBackColor, s.DegitBaseForeColor, s.DegitForeColor,
                                 s.ChimeiBackColor, s.ChimeiForeColor}),
                 QList<quint32>({0x008000, 0x00C000, 0xC0FFC0, 0x808080, 0x969696, 0x72D2F8,
                                 0x808080, 0x00FFFF}));
        // Option buttons: the designed choices of each group.
        QCOMPARE(QList<qint16>({s.PanelAuto, s.PanelManual, s.PanelOffBuiltIn, s.PanelOffUser,
                                s.StepSoundAlways, s.StepSoundByColumn, s.StepSoundSync,
                                s.StepSoundAsync, s.PreSoundAlways, s.PreSoundSync, s.PreSoundAsync,
                                s.DateUpdateOnPrint, s.DateFixed}),
                 QList<qint16>({-1, 0, -1, 0, -1, 0, 0, -1, -1, -1, 0, -1, 0}));
        QCOMPARE(s.UseSeiriNum + s.InfoOrderOn + s.InfoColumnOn + s.UseSeiriPrev, 0);
        QCOMPARE(s.FareDataDir + s.StepSoundFile + s.SeiriPlgFile, QString());

        QComboBox& styles = child<QComboBox>(dialog, QStringLiteral("Combo2"));
        QCOMPARE(styles.count(), 12);
        QCOMPARE(styles.currentIndex(), 0);
        QCOMPARE(styles.itemText(0), QStringLiteral("1,2,3... 61 （既定の表示）"));
        QCOMPARE(styles.itemText(1), QStringLiteral("0,1,2... 60"));
        QCOMPARE(styles.itemText(3), QStringLiteral("「なし」、2,3... 61"));
        QCOMPARE(styles.itemText(10), QStringLiteral("(無地)、1,2... 60"));
        for (int i = 0; i < 5; ++i) {
            QComboBox& list = child<QComboBox>(dialog, QStringLiteral("Combo4(%1)").arg(i));
            const int last = i < 4 ? 61 : 150;
            QCOMPARE(list.count(), last);
            QCOMPARE(list.itemText(0), QStringLiteral("1"));
            QCOMPARE(list.itemText(last - 1), QString::number(last));
            QCOMPARE(list.currentIndex(), 0);
            QVERIFY(!list.isEnabled());
        }
        QCOMPARE(child<QComboBox>(dialog, QStringLiteral("Combo1")).itemText(149),
                 QStringLiteral("150"));

        M_Degit& preview = child<M_Degit>(dialog, QStringLiteral("M_Degit1"));
        QCOMPARE(preview.Value().toString(), QStringLiteral("123"));
        QVERIFY(!preview.UserSet());
        QVERIFY(!child<QWidget>(dialog, QStringLiteral("Frame3")).isEnabled());
        QVERIFY(child<QGroupBox>(dialog, QStringLiteral("Frame10")).isHidden());
        QCOMPARE(child<QStackedWidget>(dialog, QString()).currentIndex(), 0);

        // Only "OK" closes it.
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        child<QPushButton>(dialog, QStringLiteral("Command4")).click();
        QVERIFY(!dialog.isVisible());

        // Shown again, it keeps the page and the sound sub-page it had in front.
        child<QPushButton>(dialog, QStringLiteral("Option1(4)")).click();
        child<QPushButton>(dialog, QStringLiteral("Option5(0)")).click();
        child<QPushButton>(dialog, QStringLiteral("Command4")).click();
        dialog.show();
        QVERIFY(child<QWidget>(dialog, QStringLiteral("Frame1(4)")).isVisible());
        QVERIFY(child<QWidget>(dialog, QStringLiteral("Frame2(0)")).isVisible());
        QVERIFY(!child<QWidget>(dialog, QStringLiteral("Frame2(1)")).isVisible());
    }

    void settingsRoundTripAndAStopAtABadListPosition() {
        Q57App program;
        frmOption& dialog = program.options();
        const IniRecord changed = everyFieldChanged();
        dialog.SetOptionInfo(changed);
        IniRecord back;
        dialog.GetOptionInfo(back);
        QCOMPARE(back, changed);
        QCOMPARE(child<QLineEdit>(dialog, QStringLiteral("Text2(0)")).text(), changed.FareDataDir);
        // Loading raised the handlers of the dependent parts.
        QVERIFY(child<QWidget>(dialog, QStringLiteral("Frame3")).isEnabled());
        QVERIFY(child<QComboBox>(dialog, QStringLiteral("Combo4(4)")).isEnabled());
        QVERIFY(!child<QGroupBox>(dialog, QStringLiteral("Frame7")).isHidden());
        QCOMPARE(child<M_Degit>(dialog, QStringLiteral("M_Degit1")).DegitForeColor(), 0x0000FFu);

        // Zero in every option button leaves each group with none chosen.
        IniRecord zero;
        dialog.SetOptionInfo(zero);
        QCOMPARE(dialog.currentSettings(), zero);

        // A slot past "61": the controls before it load, those after it keep their values.
        IniRecord bad = changed;
        bad.InfoOrderSlot = 61;
        bad.ChimeiForeColor = 0x123456;
        try {
            dialog.SetOptionInfo(bad);
            QFAIL("a list position past its list was accepted");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 380);
            QVERIFY(!error.description().isEmpty());
        }
        const IniRecord after = dialog.currentSettings();
        QCOMPARE(after.InfoOrderOn, qint16(1));
        QCOMPARE(after.InfoOrderSlot, qint16(0));
        QCOMPARE(after.InfoOrderFromZero, qint16(0));
        QCOMPARE(after.ChimeiForeColor, 0u);
        // The preview still shows the colours of the zero record.
        QCOMPARE(child<M_Degit>(dialog, QStringLiteral("M_Degit1")).DegitForeColor(), 0u);
    }

    void dependentControlsFollowTheirBoxes() {
        Q57App program;
        frmOption& dialog = program.options();
        auto& check3 = child<QCheckBox>(dialog, QStringLiteral("Check3(3)"));
        check3.click();
        QVERIFY(child<QComboBox>(dialog, QStringLiteral("Combo4(3)")).isEnabled());
        QVERIFY(child<QComboBox>(dialog, QStringLiteral("Combo4(4)")).isEnabled());
        QVERIFY(!child<QComboBox>(dialog, QStringLiteral("Combo4(0)")).isEnabled());
        check3.click();
        QVERIFY(!child<QComboBox>(dialog, QStringLiteral("Combo4(3)")).isEnabled());
        child<QCheckBox>(dialog, QStringLiteral("Check3(0)")).click();
        QVERIFY(child<QCheckBox>(dialog, QStringLiteral("Check3(4)")).isEnabled());
        child<QCheckBox>(dialog, QStringLiteral("Check1")).click();
        QVERIFY(child<QWidget>(dialog, QStringLiteral("Frame3")).isEnabled());

        auto& preview = child<QCheckBox>(dialog, QStringLiteral("chkUseSeiriPrev"));
        child<QLineEdit>(dialog, QStringLiteral("txtSeiriPlgDir")).setText(QStringLiteral("a.4SP"));
        preview.click();
        preview.click();
        QVERIFY(child<QGroupBox>(dialog, QStringLiteral("Frame10")).isHidden());
        QVERIFY(!child<QGroupBox>(dialog, QStringLiteral("Frame7")).isEnabled());
        preview.click();
        QVERIFY(!child<QGroupBox>(dialog, QStringLiteral("Frame10")).isHidden());
        QCOMPARE(dialog.currentSettings().SeiriPlgFile, QStringLiteral("a.4SP"));

        const QList<QGroupBox*> frames = dialog.findChildren<QGroupBox*>();
        QGroupBox* const on2 = *std::find_if(frames.begin(), frames.end(), [](QGroupBox* frame) {
            return frame->title() == QStringLiteral("ON2の画像：");
        });
        QVERIFY(on2->isHidden());
        child<QRadioButton>(dialog, QStringLiteral("Option3(1)")).click();
        QVERIFY(!on2->isHidden() && on2->isEnabled());
        child<QRadioButton>(dialog, QStringLiteral("Option3(0)")).click();
        QVERIFY(on2->isHidden());
    }

    void colourAndDateChoices() {
        Q57App program;
        frmOption& dialog = program.options();
        program.IniData().CustColors[0] = 0x00FF00;
        program.IniData().CustColors[16] = 0xABCDEF;
        auto& lit = child<ColourButton>(dialog, QStringLiteral("Command8(2)"));
        {
            TestSupport::ModalAnswer cancel([](QWidget* modal) {
                auto* colours = qobject_cast<QColorDialog*>(modal);
                QVERIFY(colours);
                QCOMPARE(colours->currentColor(), QColor(248, 210, 114));
                QCOMPARE(QColorDialog::customColor(0), QColor(0, 255, 0));
                colours->setCurrentColor(Qt::red);
                QColorDialog::setCustomColor(1, QColor(1, 2, 3));
                colours->reject();
            });
            lit.click();
            QVERIFY(cancel.answered());
        }
        QCOMPARE(lit.BackColor(), 0x72D2F8u);
        QCOMPARE(program.IniData().CustColors[1], 0x030201u);
        QCOMPARE(program.IniData().CustColors[16], 0xABCDEFu);
        {
            TestSupport::ModalAnswer choose([](QWidget* modal) {
                auto* colours = qobject_cast<QColorDialog*>(modal);
                colours->setCurrentColor(QColor(0, 0, 255));
                colours->accept();
            });
            lit.click();
        }
        QCOMPARE(lit.BackColor(), 0xFF0000u);
        M_Degit& preview = child<M_Degit>(dialog, QStringLiteral("M_Degit1"));
        QCOMPARE(QList<quint32>(
                     {preview.BackColor(), preview.BaseForeColor(), preview.DegitForeColor()}),
                 QList<quint32>({0x808080, 0x969696, 0xFF0000}));

        // The date and plug-in parts can be used only with the ticket preview on.
        child<QCheckBox>(dialog, QStringLiteral("chkUseSeiriPrev")).click();
        auto& label10 = child<QLabel>(dialog, QStringLiteral("Label10"));
        auto chooseDate = [&dialog](QDate date) {
            TestSupport::ModalAnswer answer([date](QWidget* modal) {
                auto* chooser = qobject_cast<DateChoiceDialog*>(modal);
                QVERIFY(chooser);
                if (!date.isValid())
                    return chooser->reject();
                chooser->findChild<QCalendarWidget*>()->setSelectedDate(date);
                chooser->accept();
            });
            child<QPushButton>(dialog, QStringLiteral("Command7")).click();
        };
        chooseDate(QDate(2026, 12, 31));
        QCOMPARE(label10.text(), QStringLiteral("2026/12/31"));
        chooseDate(QDate(2026, 1, 5));
        QCOMPARE(label10.text(), QStringLiteral("2026/01/05"));
        chooseDate(QDate());
        QCOMPARE(label10.text(), QStringLiteral("2026/01/05"));
    }

    void fileAndFolderChoices() {
        Q57App program;
        frmOption& dialog = program.options();
        QTemporaryDir folder;
        const QString sound = folder.filePath(QStringLiteral("chime.wav"));
        const QString notAPlugin = folder.filePath(QStringLiteral("ticket.4SP"));
        for (const QString& path : {sound, notAPlugin})
            QFile(path).open(QIODevice::WriteOnly);

        auto& stepSound = child<QLineEdit>(dialog, QStringLiteral("txtSelectSound(7)"));
        {
            FileAnswer pick(sound);
            child<QPushButton>(dialog, QStringLiteral("cmdSelectSound(7)")).click();
            QCOMPARE(pick.title, QStringLiteral("サウンドの選択"));
            QCOMPARE(pick.filters.size(), 3);
            QVERIFY(pick.filters[2].startsWith(QStringLiteral("MIDIシーケンス(*.mid)")));
        }
        QCOMPARE(stepSound.text(), sound);
        {
            FileAnswer cancel{QString()};
            child<QPushButton>(dialog, QStringLiteral("cmdSelectSound(7)")).click();
            QVERIFY(cancel.answer.answered());
        }
        QCOMPARE(stepSound.text(), sound);

        {
            FileAnswer pick(folder.path());
            child<QPushButton>(dialog, QStringLiteral("Command3(1)")).click();
            QCOMPARE(pick.title, QStringLiteral("フォルダーを選択してください"));
        }
        QCOMPARE(dialog.currentSettings().TapeDataDir, folder.path());

        // Until plug-ins can be read, any file is refused with the message; the path stays.
        child<QCheckBox>(dialog, QStringLiteral("chkUseSeiriPrev")).click();
        auto& plugin = child<QLineEdit>(dialog, QStringLiteral("txtSeiriPlgDir"));
        plugin.setText(QStringLiteral("old.4SP"));
        QComboBox& companies = program.operatingPanel().Combo1();
        companies.addItem(QStringLiteral("old company"));
        QString message;
        TestSupport::ModalAnswer refusal(
            [&message](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box);
                message = box->windowTitle() + QLatin1Char('|') + box->text();
                QCOMPARE(box->icon(), QMessageBox::Critical);
                box->accept();
            },
            "QMessageBox");
        {
            FileAnswer pick(notAPlugin);
            child<QPushButton>(dialog, QStringLiteral("Command1")).click();
            QCOMPARE(pick.title, QStringLiteral("プラグインの選択"));
        }
        QCOMPARE(message, QStringLiteral("プラグインロードエラー|"
                                         "指定したファイルはプラグインでないか、内容が不正です"));
        QCOMPARE(plugin.text(), QStringLiteral("old.4SP"));
        QCOMPARE(companies.count(), 0);
        child<QListWidget>(dialog, QStringLiteral("List1")).addItem(QStringLiteral("x"));
        child<QPlainTextEdit>(dialog, QStringLiteral("txtPlginComment")).setPlainText("c");
        child<QPushButton>(dialog, QStringLiteral("Command11")).click();
        QVERIFY(plugin.text().isEmpty());
        QCOMPARE(child<QListWidget>(dialog, QStringLiteral("List1")).count(), 0);
        QVERIFY(child<QPlainTextEdit>(dialog, QStringLiteral("txtPlginComment"))
                    .toPlainText()
                    .isEmpty());
        QCOMPARE(stepSound.text(), sound);

        // The folder goes to the desktop's handler for files.
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openedUrl");
        child<QLineEdit>(dialog, QStringLiteral("Text2(0)")).setText(folder.path());
        child<QPushButton>(dialog, QStringLiteral("Command10(0)")).click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(opened_, QUrl::fromLocalFile(folder.path()));
    }

    void okReappliesTheDisplayChoices() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        form.show();
        frmOption& dialog = program.options();
        QVERIFY(child<QCheckBox>(dialog, QStringLiteral("Check1")).isChecked());
        QCOMPARE(child<ColourButton>(dialog, QStringLiteral("Command5(0)")).BackColor(), 0xFFFFFFu);
        form.lblSeiriNum(5).setText(QStringLiteral("x"));
        form.Degit(1).setValue(5);
        dialog.show();
        child<QComboBox>(dialog, QStringLiteral("Combo2")).setCurrentIndex(3);
        child<QCheckBox>(dialog, QStringLiteral("Check2")).click();
        child<ColourButton>(dialog, QStringLiteral("Command5(0)")).setBackColor(0x0000FF);
        child<ColourButton>(dialog, QStringLiteral("Command8(2)")).setBackColor(0x00FF00);
        child<ColourButton>(dialog, QStringLiteral("Command9(1)")).setBackColor(0xFF0000);
        child<QComboBox>(dialog, QStringLiteral("Combo3")).setCurrentIndex(1);
        child<QCheckBox>(dialog, QStringLiteral("Check4")).click();
        child<QPushButton>(dialog, QStringLiteral("Command4")).click();

        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("な し"));
        QCOMPARE(form.lblSeiriNum(2).text(), QStringLiteral("０２"));
        QCOMPARE(form.lblSeiriNum(5).text(), QStringLiteral("０５"));
        QCOMPARE(form.lblSeiriNum(61).palette().color(QPalette::WindowText), QColor(255, 0, 0));
        const QImage digit = TestSupport::grabbed(form.Degit(1));
        QCOMPARE(TestSupport::readSegments(digit, 13, 20, QColor(0, 255, 0)),
                 QStringLiteral("   5"));
        QCOMPARE(form.TimeDegit(1).DegitForeColor(), 0x00FF00u);
        QCOMPARE(form.ChimeiCtl().ForeColor(), 0xFF0000u);
        QCOMPARE(form.ChimeiCtl().FontMode(), 1);
        QVERIFY(form.ChimeiCtl().FontBold());

        dialog.show();
        child<QCheckBox>(dialog, QStringLiteral("Check1")).click();
        child<QPushButton>(dialog, QStringLiteral("Command4")).click();
        QVERIFY(form.lblSeiriNum(1).isHidden() && form.lblSeiriNum(61).isHidden());
        QVERIFY(!form.lblSeiriNum(0).isHidden());
    }

public slots:
    void openedUrl(const QUrl& url) { opened_ = url; }

private:
    QUrl opened_;
};

QTEST_MAIN(TestFrmOption)
#include "tst_frmOption.moc"
