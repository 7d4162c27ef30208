#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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
// One _data() row per line of the folder's expected.txt, named by its file, with the columns
// "file" (the path) and "outcome"; fails when a file of that pattern has no row, or a row no
// file (except rows that test a missing file, error 53).
void addFixtureRows(const QString& folder, const QString& pattern);

// What one of our programs did when run to its end: exit code -1 when it crashed or hung.
struct ProgramRun {
    int exitCode = -1;
    QString out, err;
};
ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QString& folder = {});

// While it lives, this process acts as the ordinary user nobody when it ran as root, so
// permission bits count again; ok() is false when the switch cannot be made.
class OrdinaryUser {
public:
    OrdinaryUser();
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;
    bool ok() const { return ok_; }

private:
    bool switched_ = false;
    bool ok_ = true;
};

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
