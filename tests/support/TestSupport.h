#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <functional>

class QTimer;
class QWidget;

namespace TestSupport {

// For tests that open the program's windows: the Japanese faces, and a settings file of the
// test's own in a temporary folder, so no run reads what an earlier one saved.
void prepareWindowTests();

// The program's quit ends the event loop for good; a test that goes on after one runs a fresh
// loop, which clears it.
void recoverFromQuit();

// What a widget shows on screen, as 32-bit RGB.
QImage grabbed(QWidget& widget);

// Reads a row of seven-segment cells the way a person would: each cell is looked at where its
// seven segments are, and a segment counts as lit when any pixel there has the lit colour.
// Returns one character per cell: a digit, '-', ' ' for nothing lit, '?' for other patterns.
QString readSegments(const QImage& image, int cellWidth, int cellHeight, const QColor& lit);

// Number of pixels of exactly this colour.
int countColour(const QImage& image, const QColor& colour);

// While it lives, runs answer once on the next modal widget (dialog or message box) that is
// shown, so a test can dismiss it the way a person would. Given a class name, it waits for a
// modal widget of that class and leaves others to other answers.
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(QWidget*)> answer, const char* className = nullptr);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    bool answered() const { return answered_; }

private:
    QTimer* poll_;
    bool answered_ = false;
};

// A row of a fixtures folder's expected.txt: a file and the outcome it must give, as written
// there ("loads 3 records", "error 62", ...).
struct Expected {
    QString file;
    QString outcome;
};
// The rows of the expected.txt in the folder; lines starting with # are notes.
QList<Expected> expectedOutcomes(const QString& folder);

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
