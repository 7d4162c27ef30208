#include "render/RenderOptions.h"
#include "render/RideScript.h"

#include <QtTest>

using Kind = RideScript::Action::Kind;

class tst_RideScript : public QObject {
    Q_OBJECT
private slots:
    void readsAScript() {
        const auto parsed = RideScript::parse(QStringLiteral("# route 7 at night\n"
                                                             "set,7\n"
                                                             "\n"
                                                             " Night , 1 \r\n"
                                                             "wait,2.5\n"
                                                             "set,00012,003\n"
                                                             "announce\n"
                                                             "backlight,2"));
        QVERIFY(parsed);
        const QList<RideScript::Action>& actions = parsed.value();
        QCOMPARE(actions.size(), 6);
        QCOMPARE(actions[0].section, QStringLiteral("1"));
        QCOMPARE(std::pair(actions[1].kind, actions[1].line), std::pair(Kind::Night, 4));
        QCOMPARE(actions[2].value, 2500);
        QCOMPARE(actions[3].route + actions[3].section, QStringLiteral("00012003"));
        QCOMPARE(std::pair(actions[5].kind, actions[5].value),
                 std::pair(Kind::Backlight, qint64(2)));
    }

    void refusesABadLine_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << "set,7\njump"
                                 << "line 2: unknown action \"jump\"";
        QTest::newRow("no route") << "step\n\nset"
                                  << "line 3: set takes a route and maybe a section";
        QTest::newRow("route letters") << "set,7a"
                                       << "line 1: the route must be 1 to 5 digits, not \"7a\"";
        QTest::newRow("section") << "set,7,1000"
                                 << "line 1: the section must be 1 to 3 digits, not \"1000\"";
        QTest::newRow("night 2") << "# lit\nnight,2"
                                 << "line 2: night takes 0 to 1, not \"2\"";
        QTest::newRow("backlight 3") << "backlight,3"
                                     << "line 1: backlight takes 0 to 2, not \"3\"";
        QTest::newRow("wait negative") << "wait,-1"
                                       << "line 1: wait takes seconds from 0 to 86400, not \"-1\"";
        QTest::newRow("wait space") << "wait 2"
                                    << "line 1: unknown action \"wait 2\"";
    }
    void refusesABadLine() {
        QFETCH(QString, script);
        QFETCH(QString, error);
        const auto parsed = RideScript::parse(script);
        QVERIFY(!parsed);
        QCOMPARE(parsed.error().number(), int(RuntimeError::InvalidFileFormat));
        QCOMPARE(parsed.error().description(), error);
    }

    void commandLine() {
        const auto args = [](const char* line) {
            return QString::fromLatin1(line).split(QLatin1Char(' '));
        };
        const auto video = RenderOptions::parse(
            args("video s.in4 12 --scale 2 --dwell 1.5 --fps 25 --script r.csv --out r.webm"));
        QVERIFY(std::holds_alternative<RenderOptions>(video));
        const RenderOptions& options = std::get<RenderOptions>(video);
        QCOMPARE(options.scale, 2);
        QCOMPARE(options.dwellMs, 1500);
        QCOMPARE(options.fps, 25);
        QCOMPARE(options.out, QStringLiteral("r.webm"));
        for (const char* bad : {"stops s.in4 12", "stops s.in4 12 --fps 25 --out d",
                                "video s.in4 12 --ticket --out r.webm", "stops s.in4 12 --out",
                                "stops s.in4 12 --scale 0 --out d", "film s.in4 12 --out d"})
            QVERIFY2(std::holds_alternative<QString>(RenderOptions::parse(args(bad))), bad);
    }
};

QTEST_GUILESS_MAIN(tst_RideScript)
#include "tst_RideScript.moc"
