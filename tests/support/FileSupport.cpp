#include "FileSupport.h"

#include "platform/FileBytes.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace TestSupport {

QList<Expected> expectedOutcomes(const QString& table) {
    const QString text = QString::fromUtf8(FileBytes::read(table).valueOrThrow());
    QList<Expected> rows;
    for (const QString& line : text.split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QString row = line.simplified();
        const qsizetype gap = row.indexOf(u' ');
        rows.append({row.left(gap), row.mid(gap + 1)});
    }
    return rows;
}

void addFixtureRows(const QString& folder, const QString& pattern) {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("outcome");
    const QList<Expected> rows = expectedOutcomes(folder + QStringLiteral("/expected.txt"));
    QStringList files = QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
    QStringList problems;
    for (const Expected& row : rows) {
        if (!files.removeOne(row.file) && !row.outcome.startsWith(QStringLiteral("error 53")))
            problems.append(QStringLiteral("no file: ") + row.file);
    }
    for (const QString& file : files)
        problems.append(QStringLiteral("no row: ") + file);
    // A failure here fails the test function.
    QCOMPARE(problems, QStringList());
    for (const Expected& row : rows)
        QTest::newRow(qPrintable(row.file)) << folder + u'/' + row.file << row.outcome;
}

ProgramRun runProgram(const QString& program, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(280000);
    ProgramRun run{-1, QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
    if (finished && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

OrdinaryUser::OrdinaryUser() {
    if (geteuid() != 0)
        return;
    // The saved ids stay root, so the destructor can come back.
    switched_ = true;
    ok_ = setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0;
}

OrdinaryUser::~OrdinaryUser() {
    if (switched_ && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
        qFatal("cannot return to root");
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    // Without this the kernel ends the process with SIGXFSZ instead of failing the write (EFBIG).
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        qFatal("cannot lower the file-size limit");
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(oldLimit_);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler_);
}

} // namespace TestSupport
