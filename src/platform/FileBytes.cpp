#include "FileBytes.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Up to limit + 1 bytes, so that a file larger than it said shows itself.
Result<QByteArray> readBounded(const QString& path, qint64 limit, bool refuseLarger) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer for good.
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return RuntimeError(errno == ENOENT || errno == ENOTDIR
                                ? RuntimeError::FileNotFound
                                : RuntimeError::PathFileAccessError);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        (refuseLarger && status.st_size > limit))
        return RuntimeError(RuntimeError::PathFileAccessError);
    const qint64 wanted = refuseLarger ? limit + 1 : limit;
    QByteArray bytes(qsizetype(std::min<qint64>(wanted, status.st_size)), Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got == wanted)
                break;
            // The file grew since fstat: read on in steps.
            bytes.resize(qsizetype(std::min<qint64>(wanted, got + 64 * 1024)));
        }
        const ssize_t n = ::read(file.get(), bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return RuntimeError(RuntimeError::DeviceIoError);
        if (n == 0)
            break;
        got += n;
    }
    if (refuseLarger && got > limit)
        return RuntimeError(RuntimeError::PathFileAccessError);
    bytes.truncate(qsizetype(got));
    return bytes;
}

} // namespace

namespace FileBytes {

Result<QByteArray> read(const QString& path, qint64 limit) {
    return readBounded(path, limit, true);
}

Result<QByteArray> head(const QString& path, qint64 count) {
    return readBounded(path, count, false);
}

} // namespace FileBytes
