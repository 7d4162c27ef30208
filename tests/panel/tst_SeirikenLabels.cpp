#include "Q57App.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/SeirikenLabels.h"
#include "panel/mdlQ57_000.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QtTest>

class TestSeirikenLabels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    // The words and numbers of each style are checked against its name in the options dialog's
    // list; here the leading zero and the size of position 1's font.
    void leadingZeroAndFirstFontSize() {
        struct Row {
            int style;
            const char *first, *second, *last;
            double firstSize;
        };
        const Row rows[] = {
            {-1, "<kept>", "<kept>", "<kept>", 11}, {0, "０１", "０２", "６１", 11},
            {1, "００", "０１", "６０", 11},        {3, "な し", "０２", "６１", 10},
            {10, "", "０１", "６０", 10},
        };
        for (const Row& row : rows) {
            const SeirikenLabels::Plan plan = SeirikenLabels::plan(row.style, true);
            auto caption = [&](int n) { return plan.captions[std::size_t(n)].value_or("<kept>"); };
            QCOMPARE(caption(1), QString::fromUtf8(row.first));
            QCOMPARE(caption(2), QString::fromUtf8(row.second));
            QCOMPARE(caption(61), QString::fromUtf8(row.last));
            QCOMPARE(plan.firstPointSize, row.firstSize);
        }
        // Each style's name ends in the last number it shows.
        for (int style = 0; style < SeirikenLabels::kStyleCount; ++style) {
            const QString last = SeirikenLabels::plan(style, false).captions[61].value();
            QVERIFY2(SeirikenLabels::styleName(style).contains(
                         u' ' + last.normalized(QString::NormalizationForm_KC)),
                     qPrintable(last));
        }
    }

    void labelsOnThePanel() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        const QFont numbered = form.lblSeiriNum(1).font();
        QVERIFY(numbered.bold());

        mdlQ57_000::SeirikenNumSet(form, 6, 0);
        QVERIFY(form.lblSeiriNum(1).font().pixelSize() < numbered.pixelSize());

        mdlQ57_000::SeirikenNumSet(form, 3, 1);
        mdlQ57_000::SeirikenNumSet(form, -1, 0);
        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("な し"));
        QCOMPARE(form.lblSeiriNum(1).font().pixelSize(), numbered.pixelSize());
        QCOMPARE(form.lblSeiriNum(2).text(), QStringLiteral("０２"));
        // Position 61 stands alone under 60.
        QCOMPARE(form.lblSeiriNum(61).x(), form.lblSeiriNum(60).x());
        QVERIFY(form.lblSeiriNum(61).y() > form.lblSeiriNum(60).y());
        QCOMPARE(form.Degit(61).x(), form.Degit(60).x());
        QVERIFY(form.Degit(61).y() > form.Degit(60).y());
    }
};

QTEST_MAIN(TestSeirikenLabels)
#include "tst_SeirikenLabels.moc"
