#include "IniFile.h"

#include "platform/ShiftJis.h"

#include <QtEndian>
#include <limits>

namespace {

// The file's digit count; readers skip it and always take 61 entries.
constexpr qint16 kDigitCount = 61;

// The one list of the items in file order, walked by the writer and the reader alike.
template <typename Record, typename Visitor> void forEachItem(Record& ini, Visitor& item) {
    item(ini.FareDataDir);
    item(ini.TapeDataDir);
    item(ini.UseSeiriNum);
    item(ini.SeiriNumColorOff);
    item(ini.SeiriNumColorOn1);
    item(ini.SeiriNumColorOn2);
    item(ini.SeiriNumStyle);
    item(ini.SeiriNumZeroPad);
    item(ini.PanelAuto);
    item(ini.PanelManual);
    item(ini.PanelOffBuiltIn);
    item(ini.PanelOffUser);
    item(ini.PanelOn1BuiltIn);
    item(ini.PanelOn1User);
    item(ini.PanelOn2BuiltIn);
    item(ini.PanelOn2User);
    item(ini.PanelImageOff);
    item(ini.PanelImageOn1);
    item(ini.PanelImageOn2);
    item(ini.DegitBackColor);
    item(ini.DegitBaseForeColor);
    item(ini.DegitForeColor);
    item(ini.InfoOrderOn);
    item(ini.InfoOrderSlot);
    item(ini.InfoOrderFromZero);
    item(ini.InfoSeiriNumOn);
    item(ini.InfoSeiriNumSlot);
    item(ini.InfoRouteOn);
    item(ini.InfoRouteSlot);
    item(ini.InfoColumnOn);
    item(ini.InfoColumn);
    item(ini.InfoColumnSlot);
    item(ini.ChimeiBackColor);
    item(ini.ChimeiForeColor);
    item(ini.ChimeiFontMode);
    item(ini.ChimeiFontBold);
    item(ini.SoundRouteSet);
    item(ini.SoundReset);
    item(ini.StepSoundAlways);
    item(ini.StepSoundByColumn);
    item(ini.StepSoundSync);
    item(ini.StepSoundAsync);
    item(ini.StepSoundFile);
    item(ini.StepSoundColumn);
    item(ini.StepSoundFile1);
    item(ini.StepSoundFile2);
    item(ini.StepSoundFile3);
    item(ini.PreSoundAlways);
    item(ini.PreSoundByFlag);
    item(ini.PreSoundSync);
    item(ini.PreSoundAsync);
    item(ini.PreSoundFile);
    item(ini.PreSoundFile1);
    item(ini.PreSoundFile2);
    item(ini.PreSoundFile3);
    item(ini.UseSeiriPrev);
    item(ini.SeiriPlgFile);
    item(ini.DateUpdateOnPrint);
    item(ini.DateKeepAtRouteSet);
    item(ini.DateFixed);
    item(ini.FixedDate);
    item(ini.CtlViewMode);
    item(ini.ScrollSpeed);
    item(ini.ScrollInterval);
    item(ini.LateNightFare);
    item(ini.PreviewOpen);
    item(ini.CtlLeft);
    item(ini.CtlTop);
    item(ini.DispLeft);
    item(ini.DispTop);
    for (auto& colour : ini.CustColors)
        item(colour);
    item.digitCount();
    for (auto& entry : ini.DegitFormat) {
        item(entry.Shift);
        item(entry.ZeroMode);
        item(entry.FillZero);
    }
}

class Writer {
public:
    template <typename Number> void operator()(Number value) {
        char bytes[sizeof(Number)];
        qToLittleEndian(value, bytes);
        bytes_.append(bytes, sizeof(Number));
    }
    void operator()(const QString& text) {
        const QByteArray encoded = ShiftJis::encode(text);
        if (encoded.size() > std::numeric_limits<quint16>::max())
            tooLong_ = true;
        (*this)(quint16(encoded.size()));
        bytes_.append(encoded);
    }
    void digitCount() { (*this)(kDigitCount); }

    Result<QByteArray> result() const {
        if (tooLong_)
            return RuntimeError(RuntimeError::Overflow);
        return bytes_;
    }

private:
    QByteArray bytes_;
    bool tooLong_ = false;
};

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    template <typename Number> void operator()(Number& value) {
        if (const char* start = take(sizeof(Number)))
            value = qFromLittleEndian<Number>(start);
    }
    void operator()(QString& text) {
        quint16 length = 0;
        (*this)(length);
        if (const char* start = take(length))
            text = ShiftJis::decode(QByteArray(start, length));
    }
    void digitCount() {
        qint16 ignored = 0;
        (*this)(ignored);
    }

    // Once the bytes have run out, every later item is skipped.
    bool ranOut() const { return ranOut_; }

private:
    const char* take(qsizetype count) {
        if (ranOut_ || bytes_.size() - position_ < count) {
            ranOut_ = true;
            return nullptr;
        }
        const char* start = bytes_.constData() + position_;
        position_ += count;
        return start;
    }

    const QByteArray& bytes_;
    qsizetype position_ = 0;
    bool ranOut_ = false;
};

class Sizer {
public:
    template <typename Number> void operator()(const Number&) { bytes += sizeof(Number); }
    void operator()(const QString&) { bytes += 2 + std::numeric_limits<quint16>::max(); }
    void digitCount() { bytes += sizeof(kDigitCount); }

    qint64 bytes = 0;
};

} // namespace

namespace IniFile {

qint64 maxBytes() {
    static const qint64 largest = [] {
        IniRecord ini;
        Sizer sizer;
        forEachItem(ini, sizer);
        return sizer.bytes;
    }();
    return largest;
}

Result<QByteArray> encode(const IniRecord& ini) {
    Writer writer;
    forEachItem(ini, writer);
    return writer.result();
}

Result<IniRecord> decode(const QByteArray& bytes) {
    IniRecord ini;
    Reader reader(bytes);
    forEachItem(ini, reader);
    if (reader.ranOut())
        return RuntimeError(RuntimeError::InputPastEndOfFile);
    return ini;
}

} // namespace IniFile
