#include "contacts/vcard/VCardReader.h"

#include "contacts/ByteSearch.h"
#include "contacts/vcard/VCardText.h"

#include <cstring>
#include <utility>

// The reader runs over every card of every address book, so it works on
// views of the bytes and allocates only for what it keeps.

namespace {

bool IsFoldWhitespace(char c)
{
    return c == ' ' || c == '\t';
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// The words compared with are ASCII, so ASCII case is all there is to fold.
bool EqualsNoCase(QByteArrayView text, QByteArrayView word)
{
    if (text.size() != word.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != word[i] && AsciiLower(text[i]) != AsciiLower(word[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(QByteArrayView text, QByteArrayView prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.first(prefix.size()), prefix);
}

bool IsCardBoundary(QByteArrayView line)
{
    line = line.trimmed();
    return StartsWithNoCase(line, "BEGIN:VCARD") || StartsWithNoCase(line, "END:VCARD");
}

// The position of the colon that ends the name and parameters, skipping
// colons inside quoted parameter values; -1 when there is none.
qsizetype ValueColon(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == ':' && !quoted)
            return i;
    }
    return -1;
}

bool IsQuotedPrintable(QByteArrayView line)
{
    const qsizetype colon = ValueColon(line);
    if (colon <= 0)
        return false;
    const QByteArrayView head = line.first(colon);
    for (qsizetype i = 0; i + 16 <= head.size(); ++i) {
        if (EqualsNoCase(head.sliced(i, 16), "QUOTED-PRINTABLE"))
            return true;
    }
    return false;
}

// A content line, and the version of the card it belongs to.
struct ContentLine
{
    QByteArray bytes;
    VCardVersion version;
};

// The version of the card whose BEGIN line ends just before `from`. Old
// exporters (Netscape, Thunderbird's 2.1 export) write VERSION after other
// lines, so its lines are looked through before any of them is unfolded;
// a card that gives none is read as a modern one.
VCardVersion VersionOfCardAt(const char* data, qsizetype from, qsizetype size)
{
    for (qsizetype start = from; start < size;) {
        const qsizetype end = FindFirstOf(data, start, size, '\n', '\r');
        const QByteArrayView line(data + start, end - start);
        start = end + 1;
        if (line.isEmpty() || IsFoldWhitespace(line[0]))
            continue;
        if (StartsWithNoCase(line, "VERSION:")) {
            const QByteArrayView version = line.sliced(8).trimmed();
            return version.startsWith('2') || version.startsWith('1') ? VCardVersion::Legacy : VCardVersion::Modern;
        }
        if (IsCardBoundary(line))
            break;
    }
    return VCardVersion::Modern;
}

// Physical lines to content lines: folded lines (starting with a blank or
// tab) are joined on the bytes, before any decoding, since a fold may split
// a multi-byte character; quoted-printable values ending in "=" continue on
// the next line (a soft line break). vCard 2.1 folds only where a blank
// belongs and keeps it when unfolding; 3.0 and 4.0 fold anywhere and drop
// the one blank that marks the fold. A line that needs no joining is a
// view of the bytes, which must outlive the lines.
std::vector<ContentLine> ContentLines(const QByteArray& bytes)
{
    std::vector<ContentLine> lines;
    lines.reserve(size_t(bytes.size() / 32));
    QByteArray current;
    VCardVersion version = VCardVersion::Modern;
    auto flush = [&] {
        if (current.isEmpty())
            return;
        lines.push_back({std::move(current), version});
        current = QByteArray();
    };

    const char* const data = bytes.constData();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = FindFirstOf(data, start, bytes.size(), '\n', '\r');
        const QByteArrayView line(data + start, end - start);
        if (end < bytes.size() && data[end] == '\r' && end + 1 < bytes.size() && data[end + 1] == '\n')
            ++end;
        start = end + 1;

        if (!current.isEmpty() && current.endsWith('=') && !IsCardBoundary(line) && IsQuotedPrintable(current)) {
            current.chop(1);
            current.append(line);
        } else if (!current.isEmpty() && !line.isEmpty() && IsFoldWhitespace(line[0])) {
            current.append(version == VCardVersion::Legacy ? line : line.sliced(1));
        } else {
            flush();
            if (StartsWithNoCase(line.trimmed(), "BEGIN:VCARD"))
                version = VersionOfCardAt(data, start, bytes.size());
            current = QByteArray::fromRawData(line.data(), line.size());
        }
    }
    flush();
    return lines;
}

bool IsEncodingName(QByteArrayView name)
{
    for (const char* encoding : {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"}) {
        if (EqualsNoCase(name, encoding))
            return true;
    }
    return false;
}

bool IsCharsetName(QByteArrayView name)
{
    return EqualsNoCase(name, "UTF-8") || EqualsNoCase(name, "UTF8") || EqualsNoCase(name, "US-ASCII")
           || StartsWithNoCase(name, "ISO-8859") || StartsWithNoCase(name, "WINDOWS-") || StartsWithNoCase(name, "CP12");
}

QByteArrayView Unquoted(QByteArrayView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.sliced(1, text.size() - 2);
    return text;
}

// Names and types in upper case. The common ones are shared, not made anew
// for every line.
QByteArray Upper(QByteArrayView text)
{
    static const QByteArray common[] = {
        "BEGIN", "END",  "VERSION", "FN",   "N",     "ADR",      "TEL",   "EMAIL", "URL",   "ORG",  "TITLE",
        "UID",   "NOTE", "GENDER",  "KIND", "LABEL", "NICKNAME", "PHOTO", "BDAY",  "REV",   "PRODID",
        "WORK",  "HOME", "CELL",    "FAX",  "VOICE", "PAGER",    "INTERNET", "OTHER", "POSTAL", "X-EVOLUTION-FILE-AS"};
    // Mostly written in upper case already.
    for (const QByteArray& name : common) {
        if (name.size() == text.size() && std::memcmp(name.constData(), text.data(), size_t(text.size())) == 0)
            return name;
    }
    for (const QByteArray& name : common) {
        if (EqualsNoCase(text, name))
            return name;
    }
    return text.toByteArray().toUpper();
}

// Calls onPart for each part of "name;param;param", split at semicolons
// outside quotes.
template <typename OnPart>
void ForEachParameter(QByteArrayView head, OnPart onPart)
{
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i == head.size() || (head[i] == ';' && !quoted)) {
            onPart(head.sliced(start, i - start));
            start = i + 1;
        }
    }
}

void ReadParameter(QByteArrayView parameter, VCardProperty& property, QByteArrayView& encoding,
                   QByteArrayView& charset)
{
    parameter = parameter.trimmed();
    const qsizetype equals = parameter.indexOf('=');
    if (equals < 0) {
        if (parameter.isEmpty())
            return;
        if (IsEncodingName(parameter))
            encoding = parameter;
        else if (EqualsNoCase(parameter, "PREF"))
            property.Prefer(1);
        else if (IsCharsetName(parameter))
            charset = parameter;
        else
            property.types.append(Upper(parameter));
        return;
    }
    const QByteArrayView key = parameter.first(equals).trimmed();
    const QByteArrayView value = Unquoted(parameter.sliced(equals + 1));
    if (EqualsNoCase(key, "TYPE")) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= value.size(); ++i) {
            if (i < value.size() && value[i] != ',')
                continue;
            const QByteArrayView type = value.sliced(start, i - start).trimmed();
            if (EqualsNoCase(type, "PREF"))
                property.Prefer(1);
            else if (!type.isEmpty())
                property.types.append(Upper(type));
            start = i + 1;
        }
    } else if (EqualsNoCase(key, "ENCODING")) {
        encoding = value;
    } else if (EqualsNoCase(key, "CHARSET")) {
        charset = value;
    } else if (EqualsNoCase(key, "PREF")) {
        // vCard 4 ranks from 1, the most preferred, to 100.
        const int rank = value.trimmed().toByteArray().toInt();
        property.Prefer(rank > 0 ? rank : 1);
    }
}

bool ParseContentLine(QByteArrayView line, VCardVersion version, VCardProperty& property)
{
    const qsizetype colon = ValueColon(line);
    if (colon <= 0)
        return false;
    QByteArrayView encoding;
    QByteArrayView charset;
    bool isName = true;
    ForEachParameter(line.first(colon), [&](QByteArrayView part) {
        if (!std::exchange(isName, false)) {
            ReadParameter(part, property, encoding, charset);
            return;
        }
        part = part.trimmed();
        const qsizetype dot = part.lastIndexOf('.');
        property.name = Upper(dot >= 0 ? part.sliced(dot + 1) : part);
    });
    if (property.name.isEmpty())
        return false;

    const QByteArrayView raw = line.sliced(colon + 1);
    if (EqualsNoCase(encoding, "QUOTED-PRINTABLE"))
        property.value = DecodeVCardText(DecodeQuotedPrintable(raw), charset, version);
    else if (EqualsNoCase(encoding, "BASE64") || EqualsNoCase(encoding, "B"))
        property.value.clear(); // pictures and keys: nothing the program reads
    else
        property.value = DecodeVCardText(raw, charset, version);
    return true;
}

bool HasValue(const VCardProperty& property, QByteArrayView name, QLatin1StringView value)
{
    return property.Is(name) && property.value.trimmed().compare(value, Qt::CaseInsensitive) == 0;
}

}

const VCardProperty* VCard::First(QByteArrayView name) const
{
    for (const VCardProperty& property : properties) {
        if (property.Is(name))
            return &property;
    }
    return nullptr;
}

std::vector<VCard> ReadVCards(const QByteArray& bytes)
{
    const QByteArray text = VCardBytesWithoutBom(bytes);
    std::vector<VCard> cards;
    // A 2.1 card may hold another as the value of its AGENT, written on the
    // lines after an empty "AGENT:"; only the outer one counts. Any other
    // BEGIN inside a card means its END went missing: a new card starts.
    int depth = 0;
    bool valueFollows = false;
    for (const ContentLine& line : ContentLines(text)) {
        VCardProperty property;
        if (!ParseContentLine(line.bytes, line.version, property))
            continue;
        const bool agentValueFollowed =
            std::exchange(valueFollows, property.Is("AGENT") && property.value.trimmed().isEmpty());
        if (HasValue(property, "BEGIN", QLatin1StringView("VCARD"))) {
            if (depth > 0 && agentValueFollowed) {
                ++depth;
            } else {
                depth = 1;
                cards.emplace_back().properties.reserve(16);
            }
        } else if (HasValue(property, "END", QLatin1StringView("VCARD"))) {
            if (depth > 0)
                --depth;
        } else if (depth == 1) {
            cards.back().properties.push_back(std::move(property));
        }
    }
    return cards;
}
