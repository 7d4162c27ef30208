#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "support/FileSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class tst_SafeSave : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(tst_SafeSave)
#include "tst_SafeSave.moc"
