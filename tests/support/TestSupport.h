#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

class M_Degit;
class frmOption;
struct IniRecord;
class MessageBoxHook;

namespace TestSupport {

// For tests that open the program's windows: the Japanese faces, a settings file of the test's
// own in a temporary folder, so no run reads what an earlier one saved, and Qt's test folders
// in place of the user's configuration and cache folders.
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

// What a seven-segment control shows in the lit colour, read from the screen as above.
QString segmentsOf(M_Degit& digit, const QColor& lit);

// Number of pixels of exactly this colour.
int countColour(const QImage& image, const QColor& colour);

// Changes settings the way loading a settings file does: into the options dialog's controls.
void changeSettings(frmOption& dialog, const std::function<void(IniRecord&)>& change);

// The control of that name in the window; a test cannot go on without it.
template <typename Widget = QWidget> Widget& control(const QWidget& window, const QString& name) {
    auto* found = window.findChild<Widget*>(name);
    if (found == nullptr)
        qFatal("no control %s", qPrintable(name));
    return *found;
}

// Clicks a button of the window, as the user would.
void press(const QWidget& window, const QString& name);

// Sets a route on the operating panel's keypad (route key, digits, section key, digits, set),
// by clicking the keys.
void setRouteOnKeypad(const QWidget& operatingPanel, int route, int section = 1);

// Which of the operating panel's two input panels is in front: 0 or 1.
int inputPanelInFront(const QWidget& operatingPanel);

// The text of the last message box asked for, or empty when there was none.
QString lastMessage(const MessageBoxHook& boxes);

} // namespace TestSupport
