#include "app/FareFileBytes.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/FileSupport.h"
#include "support/ProgramRig.h"
#include "support/TestSupport.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The program with a route "1" of six stops, and a file of each kind that is no file to read:
// a FIFO no one writes to, which blocks whoever opens it, and an endless device.
struct Rig : ProgramRig {
    Rig() { write(QStringLiteral("1.hy3"), FareFileBytes::simpleRoute(6)); }
    QString hostile(const QString& name, bool fifo) {
        const QString path = folder.filePath(name);
        QFile::remove(path);
        const bool made = fifo ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                               : QFile::link(QStringLiteral("/dev/zero"), path);
        if (!made)
            qFatal("cannot make %s", qPrintable(path));
        return path;
    }
};

} // namespace

class tst_HostileFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    // Each must come back at once (a hang fails by the test's time-out) with the file's usual
    // failure, and the program goes on.
    void fifosAndDevicesAreRefusedUnread() {
        for (const bool fifo : {true, false}) {
            Rig rig;
            const QString sound = rig.hostile(QStringLiteral("reset.wav"), fifo);
            const QString plugin = rig.hostile(QStringLiteral("ticket.4SP"), fifo);
            rig.hostile(QStringLiteral("1tp.csv"), fifo);
            rig.settings([&](IniRecord& s) {
                s.SoundReset = s.SoundRouteSet = sound;
                s.UseSeiriPrev = 1;
                s.SeiriPlgFile = plugin;
            });
            QCOMPARE(rig.setRoute(QStringLiteral("1")), QString());
            QCOMPARE(rig.program.tape().GetTapeCount(), 0);
            rig.click(QStringLiteral("Command2(1)"));
            QTest::qWait(200);
            QCOMPARE(rig.capture.seconds(mdlSndAPI::deviceName(mdlSndAPI::Alias::S1)), 0.0);
        }
    }

    // A file far larger than any route's is read beside the window; its announcements are
    // there once it is in.
    void aHugeAnnouncementFileIsReadInTheBackground() {
        Rig rig;
        QByteArray lines;
        const QByteArray line = ShiftJis::encode(QStringLiteral("次は、市役所前です。,0,1\r\n"));
        while (lines.size() <= mdlM_Tape::kBackgroundBytes)
            lines += line;
        const qint32 count = qint32(lines.size() / line.size());
        rig.write(QStringLiteral("1tp.csv"), lines);
        mdlM_Tape& tape = rig.program.tape();
        QCOMPARE(rig.setRoute(QStringLiteral("1")), QString());
        QTRY_VERIFY(!tape.Loading());
        QCOMPARE(tape.GetTapeCount(), count);
        QCOMPARE(tape.GetTapeSoundFlag(count), qint16(1));
    }

    // The kernel would end the program at a write past the file-size limit; it must fail the
    // write instead, as a full disk does, and keep the old file. Run in a child, which starts
    // with the signal's default as the program does.
    void aWritePastTheFileSizeLimitFails() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Q57.in4"));
        QVERIFY(SafeSave::write(path, QByteArray(600, 'o')));
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            SafeSave::failWritesPastFileSizeLimit();
            rlimit limit{1000, RLIM_INFINITY};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1000;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const Result<void> saved = SafeSave::write(path, QByteArray(100'000, 'n'));
            ::_exit(!saved && saved.error().number() == RuntimeError::DiskFull ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status), "ended by a signal");
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(FileBytes::read(path).value(), QByteArray(600, 'o'));
    }
};

QTEST_MAIN(tst_HostileFiles)
#include "tst_HostileFiles.moc"
