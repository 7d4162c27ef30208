#include "Q57App.h"
#include "panel/Form1.h"
#include "panel/SeirikenLabels.h"
#include "panel/mdlQ57_000.h"
#include "platform/JapaneseFonts.h"
#include "platform/RuntimeError.h"

#include <QLabel>
#include <QtTest>

class TestSeirikenLabels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { JapaneseFonts::registerSubstitutions(); }

    void everyStyleWithAndWithoutLeadingZero() {
        struct Row {
            int style;
            bool zeroPad;
            const char *first, *second, *eleventh, *last;
            double firstSize;
        };
        const Row rows[] = {
            {0, false, "１", "２", "１１", "６１", 11},
            {0, true, "０１", "０２", "１１", "６１", 11},
            {1, true, "００", "０１", "１０", "６０", 11},
            {2, false, "な し", "１", "１０", "６０", 10},
            {3, true, "な し", "０２", "１１", "６１", 10},
            {4, false, "無 券", "１", "１０", "６０", 10},
            {5, true, "無 券", "０２", "１１", "６１", 10},
            {6, false, "券なし", "１", "１０", "６０", 10},
            {7, true, "券なし", "０２", "１１", "６１", 10},
            {8, false, "券無し", "１", "１０", "６０", 10},
            {9, true, "券無し", "０２", "１１", "６１", 10},
            {10, false, "", "１", "１０", "６０", 10},
            {11, true, "", "０２", "１１", "６１", 10},
        };
        for (const Row& row : rows) {
            const SeirikenLabels::Plan plan = SeirikenLabels::plan(row.style, row.zeroPad);
            auto caption = [&](int n) { return plan.captions[std::size_t(n)].value_or("<kept>"); };
            QCOMPARE(caption(1), QString::fromUtf8(row.first));
            QCOMPARE(caption(2), QString::fromUtf8(row.second));
            QCOMPARE(caption(11), QString::fromUtf8(row.eleventh));
            QCOMPARE(caption(61), QString::fromUtf8(row.last));
            QCOMPARE(plan.firstPointSize, row.firstSize);
        }
        // No selection: position 1 gets its 11 pt font and no caption changes.
        const SeirikenLabels::Plan none = SeirikenLabels::plan(-1, false);
        QCOMPARE(none.firstPointSize, 11.0);
        for (int n = 1; n <= 61; ++n)
            QVERIFY(!none.captions[std::size_t(n)].has_value());
        QCOMPARE(SeirikenLabels::errorText(RuntimeError(9, QStringLiteral("範囲外"))),
                 QStringLiteral("エラーです！\n\nコード：9\n\n内容：範囲外\n\n"
                                "モジュール：IniIO-SeirikenNumSet( )"));
    }

    void labelsOnThePanel() {
        Q57App program;
        program.start();
        Form1& form = program.form();
        const QFont numbered = form.lblSeiriNum(1).font();
        QVERIFY(numbered.bold());
        QCOMPARE(QFontInfo(numbered).family(), QStringLiteral("IPAPGothic"));
        QCOMPARE(form.lblSeiriNum(61).text(), QStringLiteral("６１"));

        mdlQ57_000::SeirikenNumSet(form, 6, 0);
        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("券なし"));
        QCOMPARE(form.lblSeiriNum(2).text(), QStringLiteral("１"));
        QVERIFY(form.lblSeiriNum(1).font().pixelSize() < numbered.pixelSize());

        mdlQ57_000::SeirikenNumSet(form, 0, 0);
        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("１"));
        QCOMPARE(form.lblSeiriNum(1).font().pixelSize(), numbered.pixelSize());

        mdlQ57_000::SeirikenNumSet(form, 3, 1);
        mdlQ57_000::SeirikenNumSet(form, -1, 0);
        QCOMPARE(form.lblSeiriNum(1).text(), QStringLiteral("な し"));
        QCOMPARE(form.lblSeiriNum(1).font().pixelSize(), numbered.pixelSize());
        QCOMPARE(form.lblSeiriNum(2).text(), QStringLiteral("０２"));
    }
};

QTEST_MAIN(TestSeirikenLabels)
#include "tst_SeirikenLabels.moc"
