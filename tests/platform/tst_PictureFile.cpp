#include "platform/PictureFile.h"
#include "platform/SafeSave.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

class tst_PictureFile : public QObject {
    Q_OBJECT
private slots:
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

        const Result<QImage> loaded = LoadPicture(whole);
        QVERIFY(loaded);
        QCOMPARE(loaded.value().size(), image.size());

        const struct {
            QString path;
            int error;
        } refused[] = {
            {text, RuntimeError::InvalidPicture},
            {dir.path(), RuntimeError::PathFileAccessError},
            // Reading a process's memory from address 0 fails with EIO.
            {QStringLiteral("/proc/self/mem"), RuntimeError::DeviceIoError},
        };
        for (const auto& r : refused) {
            const Result<QImage> picture = LoadPicture(r.path);
            QVERIFY2(!picture, qPrintable(r.path));
            QCOMPARE(picture.error().number(), r.error);
        }
    }
};

QTEST_GUILESS_MAIN(tst_PictureFile)
#include "tst_PictureFile.moc"
