#include "app/FareFile.h"
#include "platform/FileBytes.h"
#include "platform/PictureFile.h"
#include "platform/SafeSave.h"
#include "platform/ScreenFit.h"
#include "platform/ShiftJis.h"
#include "platform/WindowShape.h"
#include "support/FileSupport.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using ScreenFit::Fit;

namespace {

const QRect primary(0, 0, 1920, 1040);
const QRect rightOfIt(1920, 0, 1280, 720);
const QRect leftOfIt(-1280, 0, 1280, 1024);
const QRect aboveIt(0, -1080, 1920, 1080);

QPoint place(QPoint at, const QList<QRect>& screens, Fit fit = Fit::Reachable,
             QSize size = {600, 400}) {
    return ScreenFit::place(QRect(at, size), screens, fit);
}

} // namespace

class tst_Platform : public QObject {
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

    // FIFOs and devices are refused through the program's own loads, in the hostile-files test.
    void whatIsNotAFileIsRefused() {
        QTemporaryDir dir;
        QCOMPARE(FileBytes::read(dir.path()).error().number(),
                 int(RuntimeError::PathFileAccessError));
        const QString none = dir.filePath(QStringLiteral("none"));
        QCOMPARE(FileBytes::read(none).error().number(), int(RuntimeError::FileNotFound));
        QCOMPARE(FileBytes::read(QStringLiteral("/dev/null/x")).error().number(),
                 int(RuntimeError::FileNotFound));
    }

    void aFileLargerThanItsLimitIsRefusedWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file"));
        const QByteArray bytes(1000, 'x');
        QVERIFY(SafeSave::write(path, bytes));
        QCOMPARE(FileBytes::read(path, 1000).value(), bytes);
        const Result<QByteArray> larger = FileBytes::read(path, 999);
        QCOMPARE(larger.error().number(), int(RuntimeError::PathFileAccessError));
        QCOMPARE(FileBytes::head(path, 16).value(), QByteArray(16, 'x'));
        QCOMPARE(FileBytes::head(path, 5000).value(), bytes);
        QCOMPARE(FileBytes::read(path).value(), bytes);
    }

    // The largest route the format holds, every name at its longest, is within the limit.
    void theLargestFareFileIsRead() {
        std::vector<FareRecord> records(FareFile::kMaxRecords);
        for (FareRecord& record : records)
            record.StopName = QString(32767, QChar(0x3042)) + u'a';
        const QByteArray encoded = FareFile::encode(records).value();
        QCOMPARE(qint64(encoded.size()), FareFile::kMaxFileBytes);
    }

    // A file the user made read-only is not replaced, though its folder lets us.
    void readOnlyFileIsKept() {
        QTemporaryDir dir;
        QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
        const QString path = dir.filePath(QStringLiteral("Q57.in4"));
        QVERIFY(SafeSave::write(path, "old"));
        QVERIFY(chmod(QFile::encodeName(path).constData(), 0444) == 0);
        Result<void> saved;
        {
            // Root writes every file whatever its permission bits say.
            const TestSupport::OrdinaryUser user;
            if (!user.ok())
                QSKIP("running as root, and no switching to an ordinary user");
            saved = SafeSave::write(path, "new");
        }
        QVERIFY(!saved);
        QCOMPARE(saved.error().number(), int(RuntimeError::PermissionDenied));
        QCOMPARE(FileBytes::read(path).value(), QByteArray("old"));
    }

    // Qt's own QSaveFile reports success here and leaves a cut-off file in the old one's place.
    void fullDiskKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Q57.in4"));
        const QByteArray old(600, 'o');
        QVERIFY(SafeSave::write(path, old));
        // Smaller than Qt's write buffer, the failure shows only when it is flushed; larger, the
        // write itself comes up short.
        for (qsizetype size : {5'000, 100'000}) {
            const QByteArray bigger(size, 'n');
            {
                TestSupport::FileSizeLimit limit(4'096);
                const Result<void> saved = SafeSave::write(path, bigger);
                QVERIFY(!saved);
                QCOMPARE(saved.error().number(), int(RuntimeError::DiskFull));
            }
            QCOMPARE(FileBytes::read(path).value(), old);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("Q57.in4")});
        }

        const QByteArray next(100'000, 'n');
        QVERIFY(SafeSave::write(path, next));
        QCOMPARE(FileBytes::read(path).value(), next);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Q57.in4")});
    }

    void storedPositionsOffEveryScreenComeBack() {
        const QList<QRect> one{primary};
        // Reachable: left to the pixel, even partly off the edge.
        QCOMPARE(place({100, 100}, one), QPoint(100, 100));
        // Exactly 120 pixels of the strip is enough; 119 is not.
        QCOMPARE(place({1800, 100}, one), QPoint(1800, 100));
        QCOMPARE(place({1801, 100}, one), QPoint(1320, 100));
        QCOMPARE(place({-450, 900}, one), QPoint(-450, 900));
        // Too little of the top strip shows, or its top is cut: whole on the screen.
        QCOMPARE(place({1850, 100}, one), QPoint(1320, 100));
        QCOMPARE(place({100, -10}, one), QPoint(100, 0));
        QCOMPARE(place({-1000, -500}, one), QPoint(0, 0));
        QCOMPARE(place({100, 1030}, one), QPoint(100, 640));
        // A window larger than the screen shows its top left corner.
        QCOMPARE(place({5000, 5000}, one, Fit::Reachable, {2000, 1200}), QPoint(0, 0));

        // A second monitor: on it, or across both, nothing moves; once it is gone, back onto
        // the one left.
        const QList<QRect> two{primary, rightOfIt};
        QCOMPARE(place({2500, 300}, two), QPoint(2500, 300));
        QCOMPARE(place({1900, 100}, two), QPoint(1900, 100));
        QCOMPARE(place({2500, 300}, one), QPoint(1320, 300));
        // Below the smaller monitor lies no screen: the nearest one is the primary.
        QCOMPARE(place({2000, 900}, two), QPoint(1320, 640));
        // Monitors left of and above the primary have negative coordinates.
        QCOMPARE(place({-1000, 200}, {primary, leftOfIt}), QPoint(-1000, 200));
        QCOMPARE(place({-3000, 200}, {primary, leftOfIt}), QPoint(-1280, 200));
        QCOMPARE(place({100, -2000}, {primary, aboveIt}), QPoint(100, -1080));
        QCOMPARE(place({-9000, 9000}, {}), QPoint(-9000, 9000));

        // Whole: on the screen it covers most.
        QCOMPARE(place({100, 100}, two, Fit::Whole, {900, 500}), QPoint(100, 100));
        QCOMPARE(place({1500, 700}, two, Fit::Whole, {900, 500}), QPoint(1020, 540));
        QCOMPARE(place({1800, 100}, two, Fit::Whole, {900, 500}), QPoint(1920, 100));
        QCOMPARE(place({-50, -20}, two, Fit::Whole, {900, 500}), QPoint(0, 0));
    }

    // A window manager that framed the window after it was moved put the frame 1 left and 20 up
    // of where it was asked: only the window's own part off the screen moves it, and then by
    // what brings that part on, so the position kept stays the one asked.
    void aWindowManagersOffsetNeverMovesTheWindow() {
        const QList<QRect> one{primary};
        const QPoint offset(-1, -20);
        const QSize wide(594, 354);
        QCOMPARE(ScreenFit::place(QRect({0, -19}, wide), one, Fit::Whole, offset), QPoint(0, -19));
        QCOMPARE(ScreenFit::place(QRect({-1, -20}, wide), one, Fit::Reachable, offset),
                 QPoint(-1, -20));
        QCOMPARE(ScreenFit::place(QRect({-51, -20}, wide), one, Fit::Whole, offset),
                 QPoint(-1, -20));
        QCOMPARE(ScreenFit::place(QRect({1500, 900}, wide), one, Fit::Whole, offset),
                 QPoint(1325, 666));
    }

    void cutsExactlyTheFourCornerPixels() {
        const QRegion shape = WindowShape::roundRect2x2(2, 2, 28, 25);
        QCOMPARE(shape.boundingRect(), QRect(2, 2, 26, 23));
        for (QPoint corner : {QPoint(2, 2), QPoint(27, 2), QPoint(2, 24), QPoint(27, 24)})
            QVERIFY2(!shape.contains(corner), "corner pixel must be cut");
        int area = 0;
        for (const QRect& rect : shape)
            area += rect.width() * rect.height();
        QCOMPARE(area, 26 * 23 - 4);
    }

    void picturesAndWhatIsNot() {
        QTemporaryDir dir;
        QImage image(200, 150, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "JPEG"));
        const QString whole = dir.filePath(QStringLiteral("whole.jpg"));
        const QString text = dir.filePath(QStringLiteral("notes.bmp"));
        QVERIFY(SafeSave::write(whole, jpeg + "after the end"));
        QVERIFY(SafeSave::write(text, "not a picture\n"));

        QCOMPARE(LoadPicture(whole).value().size(), image.size());
        QCOMPARE(LoadPicture(text).error().number(), int(RuntimeError::InvalidPicture));
        QCOMPARE(LoadPicture(dir.path()).error().number(), int(RuntimeError::PathFileAccessError));
        // Reading a process's memory from address 0 fails with EIO.
        QCOMPARE(LoadPicture(QStringLiteral("/proc/self/mem")).error().number(),
                 int(RuntimeError::DeviceIoError));
    }
};

QTEST_GUILESS_MAIN(tst_Platform)
#include "tst_Platform.moc"
