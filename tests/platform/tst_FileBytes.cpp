#include "app/FareFile.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class tst_FileBytes : public QObject {
    Q_OBJECT
private slots:
    // A FIFO with no writer would block the open, /dev/zero would be read until memory runs
    // out: both are refused at once, like a folder, with the number of a file that cannot be
    // opened.
    void onlyRegularFilesAreRead() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString zero = dir.filePath(QStringLiteral("zero"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
        for (const QString& path : {fifo, zero, dir.path()}) {
            for (const Result<QByteArray>& read :
                 {FileBytes::read(path, 1024), FileBytes::head(path, 16)}) {
                QVERIFY2(!read, qPrintable(path));
                QCOMPARE(read.error().number(), int(RuntimeError::PathFileAccessError));
            }
        }
        const Result<QByteArray> missing = FileBytes::read(dir.filePath(QStringLiteral("none")));
        QCOMPARE(missing.error().number(), int(RuntimeError::FileNotFound));
        const Result<QByteArray> underFile = FileBytes::read(zero + QStringLiteral("/x"));
        QCOMPARE(underFile.error().number(), int(RuntimeError::FileNotFound));
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
};

QTEST_GUILESS_MAIN(tst_FileBytes)
#include "tst_FileBytes.moc"
