#include "platform/ShiftJis.h"

#include <QtTest>

class TestShiftJis : public QObject {
    Q_OBJECT
private slots:
    void encodesLikeCodePage932() {
        QCOMPARE(ShiftJis::encode(QStringLiteral("Aあｱ①")), QByteArray("A\x82\xA0\xB1\x87\x40"));
        // Wave dash and minus as typed on other systems land on code page 932's own forms.
        QCOMPARE(ShiftJis::encode(QStringLiteral("\u301C\u2212")), QByteArray("\x81\x60\x81\x7C"));
        // A character the code page lacks costs one '?' and nothing else.
        QCOMPARE(ShiftJis::encode(QStringLiteral("a\u00E9b")), QByteArray("a?b"));

        const QString name = QStringLiteral("市民病院前（北口）ﾊﾞｽ停ーAB～");
        QCOMPARE(ShiftJis::decode(ShiftJis::encode(name)), name);
        // A lone lead byte at the end is dropped, not shown as a replacement mark.
        QCOMPARE(ShiftJis::decode(QByteArray("A\x82")), QStringLiteral("A"));
    }

    void byteFunctionsOnMixedText() {
        QCOMPARE(ShiftJis::lenB(QString()), 0);
        QCOMPARE(ShiftJis::lenB(QStringLiteral("JR駅ｱ")), 5);

        const QString text = QStringLiteral("JR駅前ｱｲ"); // bytes: J R 89 77 91 4F B1 B2
        const std::tuple<int, int, QString> ranges[] = {
            {1, 2, QStringLiteral("JR")},
            {3, 2, QStringLiteral("駅")},
            {5, 4, QStringLiteral("前ｱｲ")},
            {3, 100, QStringLiteral("駅前ｱｲ")},
            {9, 2, QString()},
            {0, 2, QString()},
            {1, 0, QString()},
            {2, 2, QStringLiteral("R")},
        };
        for (const auto& [start, length, expected] : ranges)
            QCOMPARE(ShiftJis::midB(text, start, length), expected);

        // A range that splits a double-byte character (駅 is 89 77) drops a lone lead byte; a
        // lone trail byte in the ASCII range reads as that character, as code page 932 has it.
        QCOMPARE(ShiftJis::midB(QStringLiteral("A駅B"), 1, 2), QStringLiteral("A"));
        QCOMPARE(ShiftJis::midB(QStringLiteral("A駅B"), 3, 2), QStringLiteral("wB"));
    }
};

QTEST_GUILESS_MAIN(TestShiftJis)
#include "tst_ShiftJis.moc"
