#include "platform/vcard/VCardReader.h"

#include "platform/vcard/VCardText.h"

#include <utility>

namespace {

bool IsFoldWhitespace(char c)
{
    return c == ' ' || c == '\t';
}

bool IsCardBoundary(const QByteArray& line)
{
    const QByteArray upper = line.trimmed().toUpper();
    return upper.startsWith("BEGIN:VCARD") || upper.startsWith("END:VCARD");
}

// The position of the colon that ends the name and parameters, skipping
// colons inside quoted parameter values; -1 when there is none.
qsizetype ValueColon(const QByteArray& line)
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

bool IsQuotedPrintable(const QByteArray& line)
{
    const qsizetype colon = ValueColon(line);
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Physical lines to content lines: folded lines (starting with a blank or
// tab) are joined on the bytes, before any decoding, since a fold may split
// a multi-byte character; quoted-printable values ending in "=" continue on
// the next line (a soft line break). vCard 2.1 folds only where a blank
// belongs and keeps it when unfolding; 3.0 and 4.0 fold anywhere and drop
// the one blank that marks the fold.
std::vector<QByteArray> ContentLines(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    QByteArray current;
    bool keepFoldBlank = false;
    auto flush = [&] {
        if (current.isEmpty())
            return;
        if (current.size() < 32) {
            const QByteArray upper = current.trimmed().toUpper();
            if (upper.startsWith("BEGIN:VCARD"))
                keepFoldBlank = false;
            else if (upper.startsWith("VERSION:"))
                keepFoldBlank = upper.mid(8).trimmed() == "2.1";
        }
        lines.push_back(std::move(current));
        current.clear();
    };

    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArray line = bytes.mid(start, end - start);
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;

        if (!current.isEmpty() && current.endsWith('=') && !IsCardBoundary(line) && IsQuotedPrintable(current)) {
            current.chop(1);
            current.append(line);
        } else if (!current.isEmpty() && !line.isEmpty() && IsFoldWhitespace(line[0])) {
            current.append(keepFoldBlank ? line : line.mid(1));
        } else {
            flush();
            current = line;
        }
    }
    flush();
    return lines;
}

bool IsEncodingName(const QByteArray& upper)
{
    return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" || upper == "7BIT";
}

bool IsCharsetName(const QByteArray& upper)
{
    return upper == "UTF-8" || upper == "UTF8" || upper == "US-ASCII" || upper.startsWith("ISO-8859")
           || upper.startsWith("WINDOWS-") || upper.startsWith("CP12");
}

QByteArray Unquoted(QByteArray text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        return text.mid(1, text.size() - 2);
    return text;
}

// Splits "name;param;param" at semicolons outside quotes.
QByteArrayList SplitParameters(const QByteArray& head)
{
    QByteArrayList parts(1);
    bool quoted = false;
    for (const char c : head) {
        if (c == '"')
            quoted = !quoted;
        if (c == ';' && !quoted)
            parts.append(QByteArray());
        else
            parts.last().append(c);
    }
    return parts;
}

bool ParseContentLine(const QByteArray& line, VCardProperty& property, bool& isEnd)
{
    const qsizetype colon = ValueColon(line);
    if (colon <= 0)
        return false;
    QByteArrayList head = SplitParameters(line.left(colon));
    QByteArray name = head.takeFirst().trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0)
        name = name.mid(dot + 1);
    if (name.isEmpty())
        return false;

    QByteArray encoding;
    QByteArray charset;
    for (const QByteArray& parameter : head) {
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0) {
            const QByteArray bare = parameter.trimmed().toUpper();
            if (bare.isEmpty())
                continue;
            if (IsEncodingName(bare))
                encoding = bare;
            else if (bare == "PREF")
                property.Prefer(1);
            else if (IsCharsetName(bare))
                charset = bare;
            else
                property.types.append(bare);
            continue;
        }
        const QByteArray key = parameter.left(equals).trimmed().toUpper();
        const QByteArray value = Unquoted(parameter.mid(equals + 1));
        if (key == "TYPE") {
            for (const QByteArray& type : value.split(',')) {
                const QByteArray upper = type.trimmed().toUpper();
                if (upper == "PREF")
                    property.Prefer(1);
                else if (!upper.isEmpty())
                    property.types.append(upper);
            }
        } else if (key == "ENCODING") {
            encoding = value.toUpper();
        } else if (key == "CHARSET") {
            charset = value.toUpper();
        } else if (key == "PREF") {
            // vCard 4 ranks from 1, the most preferred, to 100.
            const int rank = value.trimmed().toInt();
            property.Prefer(rank > 0 ? rank : 1);
        }
    }

    QByteArray raw = line.mid(colon + 1);
    property.name = name;
    if (encoding == "QUOTED-PRINTABLE")
        raw = DecodeQuotedPrintable(raw);
    else if (encoding == "BASE64" || encoding == "B")
        raw.clear(); // pictures and keys: nothing the program reads
    property.value = DecodeVCardText(raw, charset);
    isEnd = name == "END" && property.value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
    return true;
}

bool IsBegin(const VCardProperty& property)
{
    return property.name == "BEGIN" && property.value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
}

}

const VCardProperty* VCard::First(const char* name) const
{
    for (const VCardProperty& property : properties) {
        if (property.name == name)
            return &property;
    }
    return nullptr;
}

std::vector<VCard> ReadVCards(const QByteArray& bytes)
{
    std::vector<VCard> cards;
    // A 2.1 card may hold another as the value of its AGENT, written on the
    // lines after an empty "AGENT:"; only the outer one counts. Any other
    // BEGIN inside a card means its END went missing: a new card starts.
    int depth = 0;
    bool valueFollows = false;
    for (const QByteArray& line : ContentLines(VCardBytesWithoutBom(bytes))) {
        VCardProperty property;
        bool isEnd = false;
        if (!ParseContentLine(line, property, isEnd))
            continue;
        const bool agentValueFollowed = std::exchange(
            valueFollows, property.name == "AGENT" && property.value.trimmed().isEmpty());
        if (IsBegin(property)) {
            if (depth > 0 && agentValueFollowed) {
                ++depth;
            } else {
                depth = 1;
                cards.emplace_back();
            }
        } else if (isEnd) {
            if (depth > 0)
                --depth;
        } else if (depth == 1) {
            cards.back().properties.push_back(std::move(property));
        }
    }
    return cards;
}
