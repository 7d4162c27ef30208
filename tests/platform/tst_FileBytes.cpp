#include "app/FareFile.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"

#include <QTemporaryDir>
#include <QTest>

class tst_FileBytes : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(tst_FileBytes)
#include "tst_FileBytes.moc"
