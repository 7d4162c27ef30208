#include "controls/M_Degit.h"
#include "support/TestSupport.h"

#include <QtTest>

namespace {

const QColor kUnlit(150, 150, 150);
const QColor kLit(248, 210, 114);
const QColor kBack(128, 128, 128);

QString shown(M_Degit& digit, const QColor& colour) {
    const QSize cell = M_Degit::cellSize(digit.DegitSize());
    return TestSupport::readSegments(TestSupport::grabbed(digit), cell.width(), cell.height(),
                                     colour);
}

} // namespace

class TestM_Degit : public QObject {
    Q_OBJECT
private slots:
    void setterCorrections() {
        M_Degit digit;
        QCOMPARE(digit.size(), QSize(52, 20));
        auto stored = [&](void (M_Degit::*set)(int), int (M_Degit::*get)() const, int value) {
            (digit.*set)(value);
            return (digit.*get)();
        };
        QCOMPARE(stored(&M_Degit::setKeta, &M_Degit::Keta, 0), 4);
        QCOMPARE(stored(&M_Degit::setKeta, &M_Degit::Keta, 16), 4);
        QCOMPARE(stored(&M_Degit::setKeta, &M_Degit::Keta, 15), 15);
        QCOMPARE(digit.size(), QSize(195, 20));
        digit.setKeta(4);
        QCOMPARE(stored(&M_Degit::setFillZero, &M_Degit::FillZero, 9), 4);
        QCOMPARE(stored(&M_Degit::setShift, &M_Degit::Shift, 9), 3);
        QCOMPARE(stored(&M_Degit::setShift, &M_Degit::Shift, -2), 0);
        QCOMPARE(stored(&M_Degit::setZeroMode, &M_Degit::ZeroMode, 4), 0);
        QCOMPARE(stored(&M_Degit::setZeroMode, &M_Degit::ZeroMode, -1), -1);
        const std::pair<int, QSize> classes[] = {
            {1, {68, 26}}, {2, {76, 29}}, {3, {44, 15}}, {7, {52, 20}}};
        for (const auto& [degitSize, size] : classes) {
            digit.setDegitSize(degitSize);
            QCOMPARE(digit.size(), size);
        }
        QCOMPARE(digit.DegitSize(), 0);
    }

    // Which positions light up, read from the screen, for each combination of the rules.
    void lightsTheValueRightAlignedOverUnlitEights() {
        struct Case {
            int zeroMode, fillZero, shift;
            QVariant value;
            const char* lit;
        };
        const QVariant empty = QString();
        const Case cases[] = {
            {0, 0, 0, 180, " 180"},    {0, 0, 0, 180.0, " 180"}, {0, 0, 0, "12345", "2345"},
            {0, 0, 0, 123456, "3456"}, {0, 0, 0, 0, "    "},     {0, 0, 0, empty, "    "},
            {0, 0, 0, -1, "  -1"},     {1, 0, 0, 0, "   0"},     {1, 0, 0, empty, "   0"},
            {1, 0, 0, -1, "  -1"},     {2, 0, 0, -1, "   0"},    {2, 0, 0, 0, "    "},
            {3, 0, 0, -1, "   0"},     {3, 0, 0, empty, "   0"}, {-2, 0, 0, 0, "   0"},
            {0, 3, 0, 7, " 007"},      {0, 3, 0, -1, "-001"},    {0, 3, 0, 0, "    "},
            {1, 3, 0, 0, " 000"},      {0, 3, 0, " 12", " 012"}, {0, 3, 0, "AB", "    "},
            {0, 0, 1, 5, "  5 "},      {0, 2, 1, 7, " 07 "},     {0, 0, 3, 1234, "4   "},
        };
        for (const Case& c : cases) {
            M_Degit digit;
            digit.setDegitStyle(1);
            digit.setZeroMode(c.zeroMode);
            digit.setFillZero(c.fillZero);
            digit.setShift(c.shift);
            digit.setValue(c.value);
            const QString lit = shown(digit, kLit);
            QCOMPARE(lit, QString::fromUtf8(c.lit));
            const QString unlit = shown(digit, kUnlit);
            for (int i = 0; i < 4; ++i) {
                if (lit.at(i) == QLatin1Char(' '))
                    QCOMPARE(unlit.at(i), QLatin1Char('8'));
            }
        }

        M_Degit blank;
        blank.setValue(0);
        const QImage image = TestSupport::grabbed(blank);
        QCOMPARE(TestSupport::countColour(image, kUnlit) + TestSupport::countColour(image, kBack),
                 52 * 20);
    }

    void onlyRedrawingSettersChangeThePicture() {
        M_Degit digit;
        digit.setValue(7);
        digit.setFillZero(3);
        QCOMPARE(shown(digit, kLit), QStringLiteral("   7"));
        digit.setBaseForeColor(0x0000FF);
        QCOMPARE(shown(digit, kLit), QStringLiteral(" 007"));
        QCOMPARE(TestSupport::countColour(TestSupport::grabbed(digit), kUnlit), 0);
        QCOMPARE(shown(digit, Qt::red).at(0), QLatin1Char('8'));

        digit.setBackColor(0x000000);
        QCOMPARE(TestSupport::grabbed(digit).pixelColor(0, 0), QColor(Qt::black));
        digit.setDegitForeColor(0x00FF00);
        QCOMPARE(shown(digit, Qt::green), QStringLiteral(" 007"));

        digit.setDegitStyle(1);
        const QImage narrow = TestSupport::grabbed(digit);
        digit.setDegitStyle(2);
        QVERIFY(TestSupport::grabbed(digit) != narrow);
        QCOMPARE(shown(digit, Qt::green), QStringLiteral(" 007"));
    }

    void resetKeepsTheFormattingRules() {
        M_Degit digit;
        digit.setKeta(3);
        digit.setShift(1);
        digit.setZeroMode(2);
        digit.setFillZero(2);

        digit.ResetDegit(true);
        QCOMPARE(digit.Value(), QVariant(QStringLiteral("888")));
        QCOMPARE(shown(digit, kLit), QStringLiteral("888"));
        digit.ResetDegit(false);
        QCOMPARE(digit.Value(), QVariant(QString()));
        QCOMPARE(shown(digit, kLit), QStringLiteral("   "));
        QCOMPARE(digit.Shift(), 1);
        QCOMPARE(digit.ZeroMode(), 2);
        QCOMPARE(digit.FillZero(), 2);

        // The blank stays until something redraws; then the rules apply again.
        digit.setValue(5);
        QCOMPARE(shown(digit, kLit), QStringLiteral("05 "));
    }
};

QTEST_MAIN(TestM_Degit)
#include "tst_M_Degit.moc"
