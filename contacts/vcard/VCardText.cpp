#include "contacts/vcard/VCardText.h"

#include "contacts/MultiLineText.h"
#include "model/CodePage1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <initializer_list>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsOneOf(QByteArrayView name, std::initializer_list<const char*> names)
{
    for (const char* candidate : names) {
        if (name.compare(candidate, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool IsUtf8Name(QByteArrayView charset)
{
    return IsOneOf(charset, {"UTF-8", "UTF8"});
}

bool IsUtf8OrAsciiName(QByteArrayView charset)
{
    return IsUtf8Name(charset) || IsOneOf(charset, {"US-ASCII"});
}

bool IsContinuationByte(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// Whether the bytes hold at least one well-formed UTF-8 character beyond
// ASCII: text in a single-byte code page almost never does.
bool HasUtf8Character(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar lead = uchar(bytes[i]);
        const int following = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                                                                 : lead >= 0xF0 && lead <= 0xF4 ? 3 : 0;
        if (following == 0 || i + following >= bytes.size())
            continue;
        bool whole = true;
        for (int k = 1; k <= following; ++k)
            whole = whole && IsContinuationByte(uchar(bytes[i + k]));
        if (whole)
            return true;
    }
    return false;
}

enum class Utf16 { None, LittleEndian, BigEndian };

// A UTF-16 file without a byte-order mark starts with ASCII ("BEGIN:VCARD"),
// so every other byte of its first characters is NUL, and which one tells
// the byte order. UTF-8 and the single-byte code pages have no NUL there.
Utf16 Utf16WithoutMark(QByteArrayView bytes)
{
    constexpr qsizetype Probe = 8; // four characters
    if (bytes.size() < Probe)
        return Utf16::None;
    bool little = true;
    bool big = true;
    for (qsizetype i = 0; i < Probe; ++i) {
        const bool nul = bytes[i] == 0;
        const bool high = i % 2 == 1; // the high byte of a little-endian unit
        little = little && nul == high;
        big = big && nul != high;
    }
    return little ? Utf16::LittleEndian : big ? Utf16::BigEndian : Utf16::None;
}

// Windows programs label their code page Latin-1 and write €, „ and – in
// the range Latin-1 leaves to control characters; web browsers read the
// label as Windows-1252 for that reason, and so do we.
bool IsLatin1Name(QByteArrayView charset)
{
    return IsOneOf(charset, {"ISO-8859-1", "ISO8859-1", "ISO_8859-1", "LATIN1", "LATIN-1", "L1"});
}

// Most values hold neither an escape nor a line break, and are taken as
// they are.
bool IsPlain(QStringView value)
{
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    }
    return true;
}

QString Unescaped(QStringView value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            result.append(next == QLatin1Char('n') || next == QLatin1Char('N') ? QChar(QLatin1Char('\n')) : next);
        } else {
            result.append(c);
        }
    }
    return result;
}

}

QByteArray VCardBytesWithoutBom(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    const Utf16 marked = bytes.startsWith("\xFF\xFE")   ? Utf16::LittleEndian
                         : bytes.startsWith("\xFE\xFF") ? Utf16::BigEndian
                                                        : Utf16::None;
    const Utf16 utf16 = marked != Utf16::None ? marked : Utf16WithoutMark(bytes);
    if (utf16 == Utf16::None)
        return bytes;
    QStringDecoder decoder(utf16 == Utf16::LittleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    return QString(decoder.decode(bytes.mid(marked != Utf16::None ? 2 : 0))).toUtf8();
}

QByteArray DecodeQuotedPrintable(QByteArrayView bytes)
{
    QByteArray result;
    result.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '=' && i + 2 < bytes.size()) {
            const int high = HexDigit(bytes[i + 1]);
            const int low = HexDigit(bytes[i + 2]);
            if (high >= 0 && low >= 0) {
                result.append(char(high * 16 + low));
                i += 2;
                continue;
            }
        }
        result.append(c);
    }
    return result;
}

QString DecodeVCardText(QByteArrayView bytes, QByteArrayView charset, VCardVersion version)
{
    if (!charset.isEmpty() && IsLatin1Name(charset))
        return DecodeWindows1252(bytes);
    if (!charset.isEmpty() && !IsUtf8OrAsciiName(charset)) {
        QStringDecoder declared(charset.toByteArray().constData());
        if (declared.isValid())
            return declared.decode(bytes);
    }
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    // One bad byte in UTF-8 text must not turn every "ü" beside it into "Ã¼".
    const bool utf8 = IsUtf8Name(charset) || (version == VCardVersion::Modern && HasUtf8Character(bytes));
    return utf8 ? QString::fromUtf8(bytes) : DecodeWindows1252(bytes);
}

QString UnescapeVCardText(const QString& value)
{
    if (IsPlain(value))
        return value;
    return WithCrLfLineBreaks(value.contains(QLatin1Char('\\')) ? Unescaped(value) : value);
}

QStringList SplitVCardComponents(const QString& value)
{
    const bool plain = IsPlain(value);
    QStringList components;
    components.reserve(8);
    qsizetype start = 0;
    bool escaped = false;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i < value.size() && value[i] == QLatin1Char('\\')) {
            escaped = true;
            if (i + 1 < value.size())
                ++i; // the escaped character is no separator
            continue;
        }
        if (i < value.size() && value[i] != QLatin1Char(';'))
            continue;
        const QStringView component = QStringView(value).sliced(start, i - start);
        if (plain)
            components.append(component.toString());
        else
            components.append(WithCrLfLineBreaks(escaped ? Unescaped(component) : component.toString()));
        start = i + 1;
        escaped = false;
    }
    return components;
}
