#include "controls/DegitFormat.h"

#include <QTest>

class tst_DegitFormat : public QObject {
    Q_OBJECT
private slots:
    // Zero substitution, zero fill and shift, and what of it fits the digits.
    void visibleTextByTheRules() {
        struct Case {
            int zeroMode, fillZero, shift;
            QVariant value;
            const char* shown;
            int keta = 4;
        };
        const QVariant empty = QString();
        const Case cases[] = {
            {0, 0, 0, 180, "180"},     {0, 0, 0, 180.0, "180"}, {0, 0, 0, "12345", "2345"},
            {0, 0, 0, 123456, "3456"}, {0, 0, 0, 0, ""},        {0, 0, 0, empty, ""},
            {0, 0, 0, -1, "-1"},       {0, 0, 0, 1.5, "1.5"},   {1, 0, 0, 0, "0"},
            {1, 0, 0, empty, "0"},     {1, 0, 0, -1, "-1"},     {2, 0, 0, -1, "0"},
            {2, 0, 0, 0, ""},          {2, 0, 0, empty, ""},    {3, 0, 0, -1, "0"},
            {3, 0, 0, empty, "0"},     {3, 0, 0, 5, "5"},       {-2, 0, 0, 0, "0"},
            {0, 3, 0, 7, "007"},       {0, 3, 0, -1, "-001"},   {0, 3, 0, 0, ""},
            {1, 3, 0, 0, "000"},       {0, 3, 0, " 12", "012"}, {0, 3, 0, "AB", "AB"},
            {0, 3, 0, 2.5, "003"},     {0, 3, 0, 1234, "1234"}, {0, 0, 1, 5, "5 "},
            {0, 2, 1, 7, "07 "},       {0, 0, 3, 1234, "4   "}, {0, 0, 0, 180, "80", 2},
            {0, 0, 0, 180, "", 0},
        };
        for (const Case& c : cases) {
            const DegitFormat::Rules rules{c.zeroMode, c.fillZero, c.shift, c.keta};
            QCOMPARE(DegitFormat::visibleText(c.value, rules), QString::fromUtf8(c.shown));
        }
    }
};

QTEST_GUILESS_MAIN(tst_DegitFormat)
#include "tst_DegitFormat.moc"
