#include "SmallFeeds.h"
#include "gtfs/FeedFiles.h"
#include "platform/SafeSave.h"

#include <QTemporaryDir>
#include <QTest>

class tst_FeedFiles : public QObject {
    Q_OBJECT
private slots:
    void readsZipsAndFolders() {
        const SmallFeeds::Files files{{QStringLiteral("stops.txt"), "stop_id\nA\n"}};
        QTemporaryDir dir;
        const QString zip = dir.filePath(QStringLiteral("feed.zip"));
        SafeSave::write(zip, SmallFeeds::zipped(files)).valueOrThrow();
        // Feeds are often zipped with their folder, and named in capitals.
        const QString nested = dir.filePath(QStringLiteral("nested.zip"));
        SafeSave::write(nested, SmallFeeds::zipped({{QStringLiteral("STOPS.TXT"), "stop_id\nA\n"}},
                                                   QStringLiteral("feed/")))
            .valueOrThrow();
        // Folders are read in the sample's import.
        for (const QString& path : {zip, nested}) {
            const FeedFiles feed = FeedFiles::open(path).valueOrThrow();
            QCOMPARE(feed.read(QStringLiteral("stops.txt")).valueOrThrow(),
                     std::optional<QByteArray>("stop_id\nA\n"));
            QCOMPARE(feed.read(QStringLiteral("routes.txt")).valueOrThrow(),
                     std::optional<QByteArray>());
        }
    }

    void refusesDamagedZips() {
        const QByteArray good = SmallFeeds::zipped(
            {{QStringLiteral("stops.txt"), QByteArray("stop_id\n").repeated(100)}});
        QVERIFY(!FeedFiles::fromZip(QStringLiteral("x.zip"), "not a zip"));
        QVERIFY(!FeedFiles::fromZip(QStringLiteral("x.zip"), good.left(good.size() / 2)));
        // A changed byte of the stored data fails its check when the file is read.
        QByteArray flipped = good;
        const qsizetype data = flipped.indexOf("stop_id");
        QVERIFY(data > 0);
        flipped[data] = 'X';
        const Result<FeedFiles> opened = FeedFiles::fromZip(QStringLiteral("x.zip"), flipped);
        QVERIFY(opened);
        const auto read = opened.value().read(QStringLiteral("stops.txt"));
        QVERIFY(!read);
        QVERIFY2(read.error().description().contains(QStringLiteral("stops.txt is damaged")),
                 qPrintable(read.error().description()));
        QCOMPARE(FeedFiles::open(QStringLiteral("/nonexistent/feed.zip")).error().number(),
                 int(RuntimeError::FileNotFound));
    }
};

QTEST_GUILESS_MAIN(tst_FeedFiles)
#include "tst_FeedFiles.moc"
