// Any bytes as a settings file: decoding stays inside the bytes and fails only for a file that
// ends early, and a record that decodes encodes to a file that decodes to the same record.

#include "FuzzSupport.h"
#include "settings/IniFile.h"

using FuzzSupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The program refuses a larger file unread.
    if (qint64(size) > IniFile::maxBytes())
        return 0;
    const Result<IniRecord> ini = IniFile::decode(FuzzSupport::bytesOf(data, size));
    if (!ini) {
        check(ini.error().number() == RuntimeError::InputPastEndOfFile,
              "a settings file that does not decode ends early");
        return 0;
    }
    const Result<QByteArray> written = IniFile::encode(ini.value());
    check(bool(written), "a decoded record can be encoded");
    const Result<IniRecord> again = IniFile::decode(written.value());
    check(again && again.value() == ini.value(), "an encoded record decodes the same");
    check(IniFile::encode(again.value()).value() == written.value(),
          "an encoded record is encoded again byte for byte");
    return 0;
}
