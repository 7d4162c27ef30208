#pragma once

#include <QList>
#include <QString>

// Test support for files, with no window: fixtures folders and a disk that fills up.
namespace TestSupport {

// A row of a fixtures table: a file (or control) and the outcome it must give, as written there
// ("loads 3 records", "error 62", ...).
struct Expected {
    QString file;
    QString outcome;
};
// The rows of a table such as a fixtures folder's expected.txt: a name, blanks, the rest of the
// line; lines starting with # are notes.
QList<Expected> expectedOutcomes(const QString& table);

// While it lives, no file this process or a program it starts writes can grow past the given
// size: writing beyond it fails as it does on a full disk, with no root or special filesystem.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    quint64 oldLimit_ = 0;
    void (*oldHandler_)(int) = nullptr;
};

} // namespace TestSupport
