#pragma once

#include "platform/ScopedHook.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QtGlobal>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QImage;
class QPlainTextEdit;
class QWidget;
struct PlgInfo;

// Our stand-in for the maker's resource library: its dialogs and its Shift-JIS byte functions.
// Every dialog is modal to its owner and reports "cancelled" the way the library did: 0 or an
// empty text, with the in/out values left as they were.
namespace KvRes {

// A file type offered by the file choice: "Waveサウンド(*.wav)" with the pattern "*.wav".
struct FileFilter {
    QString description;
    QString pattern;
    bool operator==(const FileFilter&) const = default;
};

// The choices behind the dialogs below, answered by the choice service installed last
// (ScopedHook<Choices>; the program's root installs the real dialogs for its life, a ChoiceHook
// answers in their place for a test). Each gives what was chosen, or nothing, an empty text or an
// invalid date when cancelled. With no service installed every choice is cancelled and the
// system has no name.
class Choices {
public:
    static constexpr const char* kHookName = "choice service";
    static constexpr bool kHookStacks = true;
    struct DigitSettings {
        int zeroMode = 0;
        int shift = 0;
        int fillZero = 0;
    };
    virtual ~Choices() = default;
    virtual std::optional<DigitSettings> digitSettings(QWidget* owner, int keta,
                                                       const DigitSettings& now) = 0;
    virtual QString existingFile(QWidget* owner, const QList<FileFilter>& filters,
                                 const QString& title) = 0;
    virtual QString folder(QWidget* owner, const QString& prompt) = 0;
    // QColorDialog's custom colours hold the caller's table while it runs and are read back after.
    virtual std::optional<quint32> colour(QWidget* owner, quint32 start) = 0;
    virtual QDate date(QWidget* owner) = 0;
    virtual QString osInfo() = 0;
};

// Digit settings dialog. Returns 1 when confirmed (the three values then hold the user's
// choice) and 0 when cancelled.
int Call_dlg100(QWidget* owner, int keta, int& zeroMode, int& shift, int& fillZero);

// The version box: the text, line by line, under the program's name, with an OK button. The
// kind is 1 for the version box, the only kind there is; the result means nothing.
int Call_dlg110(QWidget* owner, int kind, const QString& text);

// Choice of an existing file, offering the filters in order; the chosen path or empty.
// flags and initialFile are taken for the library's sake: callers pass 0 and the empty text.
QString Kv3FileDlg(QWidget* owner, int flags, const QList<FileFilter>& filters,
                   const QString& initialFile, const QString& title);

// Choice of a folder under the prompt; the chosen folder or empty.
QString Kv3FolderDlg(QWidget* owner, const QString& prompt);

// Colour choice starting from colour (0x00BBGGRR). The custom colours are shown from and
// written back to the table whatever the outcome; the dialog has room for 16 of them, so the
// 17th entry stays as it is. Returns non-zero and sets colour when a colour was chosen.
int Kv3ChooseColor(QWidget* owner, quint32& colour, std::array<quint32, 17>& customColours);

// A day as the date choice hands it back; the weekday counts from 0 for Sunday.
struct DateRecord {
    qint16 year = 0;
    qint16 month = 0;
    qint16 weekday = 0;
    qint16 day = 0;
};

// Date choice, starting from today. Returns non-zero and fills the record when a day was chosen.
int Call_dlg111(QWidget* owner, DateRecord& date);

// The ticket plug-in calls, answered by the plug-in service installed last
// (ScopedHook<TicketPlugins>; the program's root installs its own for its life). A file that is not
// a plug-in, or cannot be read, gives 0 and changes nothing: why it was refused is the plug-in
// tool's to tell (tools/check_plugin). With no service installed every call gives 0.
class TicketPlugins {
public:
    static constexpr const char* kHookName = "ticket plug-in service";
    static constexpr bool kHookStacks = true;
    virtual ~TicketPlugins() = default;
    virtual int GetPlgInfo(const QString& plugin, PlgInfo& info) = 0;
    virtual int SetPlgComment(const QString& plugin, QPlainTextEdit& box) = 0;
    virtual int SetCorpAddList(const QString& plugin, QComboBox& list) = 0;
    virtual int DrawSeiriken(const QString& plugin, QImage& target, const QString& stopName,
                             const QString& dateText, const QString& timeText, qint32 routeNo,
                             qint16 seiriNum, qint16 row, qint16 companyIndex) = 0;
};

// Fills the capability record (which the caller has zeroed); non-zero when it was filled.
int KV4_GetPlgInfo(const QString& plugin, PlgInfo& info);
// Puts the plug-in's comment into the box.
int KV4_SetPlgComment(const QString& plugin, QPlainTextEdit& box);
// Appends the plug-in's company-name variants to the list; the choice in the list stays.
int KV4_SetCorpAddList(const QString& plugin, QComboBox& list);
// Draws the numbered ticket of a stop over the whole picture, scaled to its size. Returns
// non-zero when the plug-in drew it.
int KV4_DrawSeiriken(const QString& plugin, QImage& target, const QString& stopName,
                     const QString& dateText, const QString& timeText, qint32 routeNo,
                     qint16 seiriNum, qint16 row, qint16 companyIndex);

// The running system's name, for example "Debian GNU/Linux 12 (bookworm)".
QString GetOsInfo();

// For tests: while one lives, it is the choice service, and none of the dialogs above is shown
// (the version box goes through the message box hook). Each choice takes at once the next answer
// set for its kind, or is cancelled when none is left, and what its dialog would have offered is
// kept in asked(). It can also name the system the program runs on.
class ChoiceHook {
public:
    using DigitSettings = Choices::DigitSettings;
    // What a dialog would have shown: the file choice's title and file types, the folder
    // choice's prompt as its title, the colour choice's starting colour.
    struct Asked {
        QString title;
        QList<FileFilter> filters;
        quint32 colour = 0;
    };
    struct Pending;

    ChoiceHook();
    ~ChoiceHook();

    // An empty path or folder, an invalid date, no colour or no settings: cancelled.
    void setNextFileName(const QString& path);
    void setNextFolder(const QString& folder);
    // The custom colours are those the user leaves at these places of the dialog's table,
    // whether or not a colour is chosen.
    void setNextColour(std::optional<quint32> colour, const QMap<int, quint32>& customColours = {});
    void setNextDate(const QDate& date);
    void setNextDigitSettings(std::optional<DigitSettings> settings);
    // The system's name GetOsInfo gives from now on.
    void setOsInfo(const QString& name);

    const QList<Asked>& asked() const;
    // Runs as each dialog is asked for, at the moment it would be on screen.
    std::function<void()> whileShown;

private:
    std::unique_ptr<Pending> pending_;
    ScopedHook<Choices> installed_;
};

// The Shift-JIS byte functions (ShiftJis::lenB and ShiftJis::midB).
int LenB_ASCII(const QString& text);
QString MidB_ASCII(const QString& text, int start, int count);

} // namespace KvRes
