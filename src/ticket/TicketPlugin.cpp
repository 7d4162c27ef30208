#include "TicketPlugin.h"

#include "platform/FileBytes.h"
#include "platform/JapaneseFaces.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <limits>

namespace {

using Kind = TicketElement::Kind;

const QString kMagic = QStringLiteral("Q57-TICKET-PLUGIN");
constexpr int kVersion = 1;
constexpr qsizetype kMaxFileBytes = 1 << 20;
constexpr int kMaxElements = 256;
constexpr int kMaxCompanies = 32;
constexpr int kMaxUnits = 10000;
constexpr int kMaxPreviewTwips = 30000;
constexpr int kMaxBarcodeNumber = 999;

struct InfoKey {
    const char* name;
    qint32 PlgInfo::*field;
};
constexpr std::array<InfoKey, 14> kInfoKeys{{
    {"Reserved", &PlgInfo::Reserved},
    {"PrevWidth", &PlgInfo::PrevWidth},
    {"PrevHeight", &PlgInfo::PrevHeight},
    {"CanDate", &PlgInfo::CanDate},
    {"CanTime", &PlgInfo::CanTime},
    {"CanRouteNo", &PlgInfo::CanRouteNo},
    {"CanStopName", &PlgInfo::CanStopName},
    {"CanBarcode", &PlgInfo::CanBarcode},
    {"BarcodeCount", &PlgInfo::BarcodeCount},
    {"MaxRouteNo", &PlgInfo::MaxRouteNo},
    {"BarcodeRouteMode", &PlgInfo::BarcodeRouteMode},
    {"StopRangeFrom", &PlgInfo::StopRangeFrom},
    {"StopRangeTo", &PlgInfo::StopRangeTo},
    {"CorpSwitch", &PlgInfo::CorpSwitch},
}};
// Only the unnamed first field may be left out: the program never reads it.
constexpr std::size_t kOptionalKey = 0;

struct KindName {
    const char* name;
    Kind kind;
};
constexpr KindName kKinds[] = {
    {"text", Kind::Text},       {"number", Kind::Number}, {"stop", Kind::StopName},
    {"date", Kind::Date},       {"time", Kind::Time},     {"route", Kind::RouteNo},
    {"company", Kind::Company}, {"line", Kind::Line},     {"box", Kind::Box},
    {"barcode", Kind::Barcode},
};

bool isTextKind(Kind kind) {
    return kind != Kind::Line && kind != Kind::Box && kind != Kind::Barcode;
}

// Plain decimal, an optional minus sign, within 32 bits.
std::optional<qint32> wholeNumber(QStringView text) {
    const QStringView digits = text.startsWith(u'-') ? text.mid(1) : text;
    if (digits.isEmpty() || digits.size() > 10 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](QChar c) { return c.isDigit() && c < u'\x80'; }))
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

std::optional<quint32> colour(QStringView text) {
    if (text.size() != 7 || !text.startsWith(u'#'))
        return std::nullopt;
    quint32 value = 0;
    for (const QChar c : text.mid(1)) {
        const int digit = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | quint32(digit);
    }
    return value;
}

QString faceName(const JapaneseFaces::Face& face) {
    return QString::fromUtf8(face.windowsName.data(), qsizetype(face.windowsName.size()));
}

bool isKnownFace(const QString& name) {
    return std::any_of(JapaneseFaces::kFaces.begin(), JapaneseFaces::kFaces.end(),
                       [&](const JapaneseFaces::Face& face) { return faceName(face) == name; });
}

// Blank-separated words; a double-quoted stretch keeps its blanks and loses its quotes.
std::optional<QStringList> words(QStringView text) {
    QStringList result;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            if (inWord)
                result.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        result.append(word);
    return result;
}

class Parser {
public:
    explicit Parser(const QByteArray& bytes) {
        if (bytes.size() > kMaxFileBytes) {
            problem(1, QStringLiteral("the file is larger than 1 MiB"));
            return;
        }
        QList<QByteArray> lines = bytes.split('\n');
        if (lines.front().startsWith("\xEF\xBB\xBF"))
            lines.front().remove(0, 3);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QByteArray& raw = lines[i];
            if (raw.endsWith('\r'))
                raw.chop(1);
            const int number = int(i + 1);
            QStringDecoder decoder(QStringDecoder::Utf8);
            const QString line = decoder.decode(raw);
            if (decoder.hasError()) {
                problem(number, QStringLiteral("not UTF-8 text"));
                continue;
            }
            if (std::any_of(line.begin(), line.end(),
                            [](QChar c) { return c < u' ' && c != u'\t'; })) {
                problem(number, QStringLiteral("a control character"));
                continue;
            }
            if (number == 1) {
                if (!firstLine(line.trimmed()))
                    return;
                continue;
            }
            this->line(number, line);
        }
        finish();
    }

    TicketPlugin plugin;
    QList<TicketPluginProblem> problems;

private:
    enum Section { None, Info, Comment, Companies, Ticket, Unknown, SectionCount };

    void problem(int line, const QString& what) { problems.append({line, what}); }

    bool firstLine(const QString& text) {
        const QString expected = kMagic + u' ' + QString::number(kVersion);
        if (text == expected)
            return true;
        if (text.startsWith(kMagic + u' '))
            problem(1, QStringLiteral("version \"%1\" is not known (this program reads version %2)")
                           .arg(text.mid(kMagic.size() + 1), QString::number(kVersion)));
        else
            problem(1, QStringLiteral("not a ticket plug-in: the first line must be \"%1\"")
                           .arg(expected));
        return false;
    }

    void line(int number, const QString& text) {
        const QString trimmed = text.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            sectionHeader(number, trimmed.mid(1, trimmed.size() - 2));
            return;
        }
        if (section_ == Comment) {
            QString kept = text;
            while (!kept.isEmpty() && kept.back().isSpace())
                kept.chop(1);
            commentLines_.append(kept);
            return;
        }
        if (trimmed.isEmpty() || trimmed.startsWith(u'#') || section_ == Unknown)
            return;
        switch (section_) {
        case Info:
            infoEndLine_ = number;
            infoLine(number, trimmed);
            break;
        case Companies:
            if (plugin.companies.size() == kMaxCompanies)
                problem(number, QStringLiteral("more than %1 company names").arg(kMaxCompanies));
            else
                plugin.companies.append(trimmed);
            break;
        case Ticket:
            ticketLine(number, trimmed);
            break;
        default:
            problem(number, QStringLiteral("text outside a section"));
        }
    }

    void sectionHeader(int number, const QString& name) {
        static const QString names[] = {QString(), QStringLiteral("info"),
                                        QStringLiteral("comment"), QStringLiteral("companies"),
                                        QStringLiteral("ticket")};
        const auto found = std::find(std::begin(names) + 1, std::end(names), name);
        if (found == std::end(names)) {
            problem(number, QStringLiteral("unknown section [%1] (known: [info], [comment], "
                                           "[companies], [ticket])")
                                .arg(name));
            section_ = Unknown;
            return;
        }
        const Section section = Section(found - std::begin(names));
        if (sectionLines_[section] != 0) {
            problem(number, QStringLiteral("the section [%1] is given twice (first on line %2)")
                                .arg(name)
                                .arg(sectionLines_[section]));
            section_ = Unknown;
            return;
        }
        sectionLines_[section] = number;
        section_ = section;
    }

    void infoLine(int number, const QString& text) {
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0) {
            problem(number, QStringLiteral("expected \"Name = value\""));
            return;
        }
        const QString name = text.left(equals).trimmed();
        const QString value = text.mid(equals + 1).trimmed();
        const auto key = std::find_if(kInfoKeys.begin(), kInfoKeys.end(), [&](const InfoKey& k) {
            return name == QLatin1String(k.name);
        });
        if (key == kInfoKeys.end()) {
            problem(number, QStringLiteral("unknown capability \"%1\"").arg(name));
            return;
        }
        int& seen = infoLines_[std::size_t(key - kInfoKeys.begin())];
        if (seen != 0) {
            problem(number,
                    QStringLiteral("%1 is given twice (first on line %2)").arg(name).arg(seen));
            return;
        }
        seen = number;
        const std::optional<qint32> parsed = wholeNumber(value);
        if (!parsed) {
            problem(number,
                    QStringLiteral("%1: \"%2\" is not a whole number of 32 bits").arg(name, value));
            return;
        }
        plugin.info.*key->field = *parsed;
    }

    void ticketLine(int number, const QString& text) {
        const std::optional<QStringList> parts = words(text);
        if (!parts) {
            problem(number, QStringLiteral("a quote is not closed"));
            return;
        }
        const QString& kindName = parts->front();
        if (kindName == u"size") {
            ticketSize(number, *parts);
            return;
        }
        const auto kind =
            std::find_if(std::begin(kKinds), std::end(kKinds),
                         [&](const KindName& k) { return kindName == QLatin1String(k.name); });
        if (kind == std::end(kKinds)) {
            problem(number, QStringLiteral("unknown element \"%1\" (known: size, text, number, "
                                           "stop, date, time, route, company, line, box, barcode)")
                                .arg(kindName));
            return;
        }
        if (sizeLine_ == 0) {
            problem(number, QStringLiteral("an element before the ticket's size line"));
            return;
        }
        if (int(plugin.elements.size()) == kMaxElements) {
            problem(number, QStringLiteral("more than %1 elements").arg(kMaxElements));
            return;
        }
        TicketElement element;
        element.kind = kind->kind;
        // Counted before its checks, so that a faulty bar code is not reported as missing too.
        barcodesGiven_ += element.kind == Kind::Barcode;
        if (this->element(number, *parts, element)) {
            plugin.elements.push_back(element);
            elementLines_.push_back(number);
        }
    }

    void ticketSize(int number, const QStringList& parts) {
        if (sizeLine_ != 0) {
            problem(number, QStringLiteral("the ticket's size is given twice (first on line %1)")
                                .arg(sizeLine_));
            return;
        }
        sizeLine_ = number;
        if (parts.size() != 3) {
            problem(number, QStringLiteral("expected \"size WIDTH HEIGHT\""));
            return;
        }
        const std::optional<qint32> width = wholeNumber(parts[1]);
        const std::optional<qint32> height = wholeNumber(parts[2]);
        if (!width || !height || *width < 1 || *height < 1 || *width > kMaxUnits ||
            *height > kMaxUnits) {
            problem(number,
                    QStringLiteral("the ticket's width and height must be 1 to %1").arg(kMaxUnits));
            return;
        }
        plugin.width = *width;
        plugin.height = *height;
    }

    bool element(int number, const QStringList& parts, TicketElement& element) {
        if (parts.size() < 5) {
            problem(number, QStringLiteral("expected \"%1 X Y WIDTH HEIGHT\" and its settings")
                                .arg(parts.front()));
            return false;
        }
        int* const place[] = {&element.x, &element.y, &element.width, &element.height};
        for (int i = 0; i < 4; ++i) {
            const std::optional<qint32> value = wholeNumber(parts[i + 1]);
            if (!value || *value < 0 || *value > kMaxUnits) {
                problem(number, QStringLiteral("\"%1\" is not a position or size (0 to %2)")
                                    .arg(parts[i + 1])
                                    .arg(kMaxUnits));
                return false;
            }
            *place[i] = *value;
        }
        const bool isLine = element.kind == Kind::Line;
        if (isLine ? element.width == 0 && element.height == 0
                   : element.width == 0 || element.height == 0) {
            problem(number, QStringLiteral("the element has no size"));
            return false;
        }
        if (element.x + element.width > plugin.width ||
            element.y + element.height > plugin.height) {
            problem(number, QStringLiteral("the element runs past the ticket (%1 × %2)")
                                .arg(plugin.width)
                                .arg(plugin.height));
            return false;
        }
        if (isTextKind(element.kind)) {
            element.font = faceName(JapaneseFaces::kFaces.front());
            element.size = element.height;
        }
        QStringList given;
        for (const QString& setting : parts.mid(5)) {
            const qsizetype equals = setting.indexOf(u'=');
            const QString name = setting.left(equals);
            if (equals < 0) {
                problem(number, QStringLiteral("expected \"name=value\" at \"%1\"").arg(setting));
                return false;
            }
            if (given.contains(name)) {
                problem(number, QStringLiteral("%1 is given twice").arg(name));
                return false;
            }
            given.append(name);
            if (!this->setting(number, name, setting.mid(equals + 1), element))
                return false;
        }
        if (element.kind == Kind::Text && element.text.isEmpty()) {
            problem(number, QStringLiteral("a text element needs text=\"...\""));
            return false;
        }
        return true;
    }

    bool setting(int number, const QString& name, const QString& value, TicketElement& element) {
        const Kind kind = element.kind;
        const auto bad = [&](const QString& expected) {
            problem(number, QStringLiteral("%1: \"%2\" is not %3").arg(name, value, expected));
            return false;
        };
        const auto range = [&](int low, int high, int& target) {
            const std::optional<qint32> parsed = wholeNumber(value);
            if (!parsed || *parsed < low || *parsed > high)
                return bad(QStringLiteral("%1 to %2").arg(low).arg(high));
            target = *parsed;
            return true;
        };
        if (name == u"text" && kind == Kind::Text) {
            element.text = value;
            return true;
        }
        if (isTextKind(kind)) {
            if (name == u"font") {
                if (!isKnownFace(value)) {
                    QStringList known;
                    for (const JapaneseFaces::Face& face : JapaneseFaces::kFaces)
                        known.append(faceName(face));
                    return bad(QStringLiteral("a known face (%1)").arg(known.join(u", ")));
                }
                element.font = value;
                return true;
            }
            if (name == u"size")
                return range(1, element.height, element.size);
            if (name == u"weight") {
                if (value != u"normal" && value != u"bold")
                    return bad(QStringLiteral("normal or bold"));
                element.bold = value == u"bold";
                return true;
            }
            if (name == u"align") {
                static const QString aligns[] = {QStringLiteral("left"), QStringLiteral("center"),
                                                 QStringLiteral("right")};
                const auto found = std::find(std::begin(aligns), std::end(aligns), value);
                if (found == std::end(aligns))
                    return bad(QStringLiteral("left, center or right"));
                element.align = TicketElement::Align(found - std::begin(aligns));
                return true;
            }
        }
        if (name == u"color" && kind != Kind::Barcode) {
            const std::optional<quint32> parsed = colour(value);
            if (!parsed)
                return bad(QStringLiteral("a colour #RRGGBB"));
            element.color = *parsed;
            return true;
        }
        if (name == u"fill" && kind == Kind::Box) {
            element.fill = colour(value);
            return element.fill ? true : bad(QStringLiteral("a colour #RRGGBB"));
        }
        if (name == u"width" && kind == Kind::Line)
            return range(1, kMaxUnits, element.lineWidth);
        if (name == u"width" && kind == Kind::Box)
            return range(0, std::min(element.width, element.height) / 2, element.lineWidth);
        if (name == u"direction" && kind == Kind::Barcode)
            return range(0, 1, element.direction);
        problem(
            number,
            QStringLiteral("a %1 element has no setting \"%2\"").arg(kKinds[int(kind)].name, name));
        return false;
    }

    // What only the whole file shows: missing parts and capabilities that disagree with the
    // drawing.
    void finish() {
        if (sectionLines_[Info] == 0)
            problem(1, QStringLiteral("no [info] section"));
        if (sectionLines_[Ticket] == 0)
            problem(1, QStringLiteral("no [ticket] section"));
        else if (sizeLine_ == 0)
            problem(sectionLines_[Ticket], QStringLiteral("the ticket has no size line"));
        if (sectionLines_[Info] != 0)
            checkInfo();
        checkElements();

        while (!commentLines_.isEmpty() && commentLines_.back().isEmpty())
            commentLines_.removeLast();
        while (!commentLines_.isEmpty() && commentLines_.front().isEmpty())
            commentLines_.removeFirst();
        plugin.comment = commentLines_.join(u'\n');
        std::stable_sort(problems.begin(), problems.end(),
                         [](const auto& a, const auto& b) { return a.line < b.line; });
    }

    static std::size_t indexOf(qint32 PlgInfo::*field) {
        for (std::size_t i = 0; i < kInfoKeys.size(); ++i)
            if (kInfoKeys[i].field == field)
                return i;
        return 0;
    }
    int lineOf(qint32 PlgInfo::*field) const { return infoLines_[indexOf(field)]; }
    static const char* nameOf(qint32 PlgInfo::*field) { return kInfoKeys[indexOf(field)].name; }

    void checkInfo() {
        for (std::size_t i = 0; i < kInfoKeys.size(); ++i)
            if (i != kOptionalKey && infoLines_[i] == 0)
                problem(std::max(infoEndLine_, sectionLines_[Info]),
                        QStringLiteral("%1 is missing").arg(kInfoKeys[i].name));
        const PlgInfo& info = plugin.info;
        const auto check = [&](bool holds, qint32 PlgInfo::*field, const QString& what) {
            if (!holds && lineOf(field) != 0)
                problem(lineOf(field), what);
        };
        check(info.PrevWidth >= 0 && info.PrevWidth <= kMaxPreviewTwips, &PlgInfo::PrevWidth,
              QStringLiteral("PrevWidth must be 0 to %1 twips").arg(kMaxPreviewTwips));
        check(info.PrevHeight >= 0 && info.PrevHeight <= kMaxPreviewTwips, &PlgInfo::PrevHeight,
              QStringLiteral("PrevHeight must be 0 to %1 twips").arg(kMaxPreviewTwips));
        check(info.CorpSwitch < 1 || !plugin.companies.isEmpty(), &PlgInfo::CorpSwitch,
              QStringLiteral("CorpSwitch is 1 or more but [companies] names none"));
        if (info.CanBarcode != 1)
            return;
        check(info.BarcodeCount == barcodesGiven_, &PlgInfo::BarcodeCount,
              QStringLiteral("BarcodeCount is %1 but the ticket draws %2")
                  .arg(info.BarcodeCount)
                  .arg(barcodesGiven_));
        check(info.MaxRouteNo >= 1 && info.MaxRouteNo <= kMaxBarcodeNumber, &PlgInfo::MaxRouteNo,
              QStringLiteral("MaxRouteNo must be 1 to %1 (three digits in the bar code)")
                  .arg(kMaxBarcodeNumber));
        check(info.StopRangeFrom >= 0 && info.StopRangeFrom <= info.StopRangeTo &&
                  info.StopRangeTo <= kMaxBarcodeNumber,
              &PlgInfo::StopRangeTo,
              QStringLiteral("the stop range must lie within 0 to %1, StopRangeFrom first")
                  .arg(kMaxBarcodeNumber));
    }

    void checkElements() {
        // The capability each kind of element prints under.
        static constexpr struct {
            Kind kind;
            qint32 PlgInfo::*flag;
        } needs[] = {{Kind::Date, &PlgInfo::CanDate},
                     {Kind::Time, &PlgInfo::CanTime},
                     {Kind::RouteNo, &PlgInfo::CanRouteNo},
                     {Kind::StopName, &PlgInfo::CanStopName},
                     {Kind::Barcode, &PlgInfo::CanBarcode}};
        for (std::size_t i = 0; i < plugin.elements.size(); ++i) {
            const Kind kind = plugin.elements[i].kind;
            if (kind == Kind::Company && plugin.companies.isEmpty())
                problem(elementLines_[i],
                        QStringLiteral("a company element needs a name in [companies]"));
            for (const auto& need : needs)
                if (need.kind == kind && plugin.info.*need.flag != 1)
                    problem(elementLines_[i], QStringLiteral("a %1 element needs %2 = 1")
                                                  .arg(kKinds[int(kind)].name, nameOf(need.flag)));
        }
    }

    Section section_ = None;
    std::array<int, SectionCount> sectionLines_{};
    std::array<int, kInfoKeys.size()> infoLines_{};
    QStringList commentLines_;
    int infoEndLine_ = 0;
    int sizeLine_ = 0;
    int barcodesGiven_ = 0;
    std::vector<int> elementLines_;
};

QString digits(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

QList<TicketPluginProblem> checkTicketPlugin(const QByteArray& bytes) {
    return Parser(bytes).problems;
}

Result<TicketPlugin> parseTicketPlugin(const QByteArray& bytes) {
    Parser parser(bytes);
    if (!parser.problems.isEmpty()) {
        const TicketPluginProblem& first = parser.problems.front();
        return RuntimeError(RuntimeError::InvalidFileFormat,
                            QStringLiteral("line %1: %2").arg(first.line).arg(first.what));
    }
    return std::move(parser.plugin);
}

Result<TicketPlugin> readTicketPlugin(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path);
    if (!bytes)
        return bytes.error();
    return parseTicketPlugin(bytes.value());
}

QString ticketElementText(const TicketPlugin& plugin, const TicketElement& element,
                          const TicketValues& values) {
    switch (element.kind) {
    case Kind::Text:
        return element.text;
    case Kind::Number:
        return QString::number(values.seiriNum);
    case Kind::StopName:
        return values.stopName;
    case Kind::Date:
        return values.dateText;
    case Kind::Time:
        return values.timeText;
    case Kind::RouteNo:
        return QString::number(values.routeNo);
    case Kind::Company:
        if (plugin.companies.isEmpty())
            return {};
        return plugin.companies.value(values.company, plugin.companies.front());
    default:
        return {};
    }
}

QString ticketBarcodeData(const PlgInfo& info, const TicketElement& element,
                          const TicketValues& values) {
    const bool sequential = info.BarcodeRouteMode == 1;
    if (values.routeNo < 1 || values.routeNo > std::min(info.MaxRouteNo, kMaxBarcodeNumber) ||
        values.seiriNum < std::max(info.StopRangeFrom, 0) ||
        values.seiriNum > std::min(info.StopRangeTo, kMaxBarcodeNumber) ||
        (sequential && (values.row < 1 || values.row > kMaxBarcodeNumber)))
        return {};
    return u'A' + digits(values.routeNo, 3) +
           (sequential ? digits(values.row, 3) : digits(element.direction, 1)) +
           digits(values.seiriNum, 3) + u'A';
}
