#include "FileSupport.h"

#include "platform/FileBytes.h"

#include <csignal>
#include <sys/resource.h>

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
