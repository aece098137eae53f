#include "platform/vcard/VCardText.h"

#include "model/CodePage1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

bool IsUtf8Name(const QByteArray& charset)
{
    return charset == "UTF-8" || charset == "UTF8";
}

// Windows programs label their code page Latin-1 and write €, „ and – in
// the range Latin-1 leaves to control characters; web browsers read the
// label as Windows-1252 for that reason, and so do we.
bool IsLatin1Name(const QByteArray& charset)
{
    return charset == "ISO-8859-1" || charset == "ISO8859-1" || charset == "ISO_8859-1" || charset == "LATIN1"
           || charset == "LATIN-1" || charset == "L1";
}

// Line breaks inside values come as CR LF from quoted-printable exports
// and as LF from escapes; one form is kept.
QString WithPlainLineBreaks(QString text)
{
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

template <typename OnChar, typename OnSeparator>
void ScanEscaped(const QString& value, OnChar onChar, OnSeparator onSeparator, bool splitAtSemicolon)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            onChar(next == QLatin1Char('n') || next == QLatin1Char('N') ? QChar(QLatin1Char('\n')) : next);
        } else if (splitAtSemicolon && c == QLatin1Char(';')) {
            onSeparator();
        } else {
            onChar(c);
        }
    }
}

}

QByteArray VCardBytesWithoutBom(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return QString(decoder.decode(bytes.mid(2))).toUtf8();
    }
    return bytes;
}

QByteArray DecodeQuotedPrintable(const QByteArray& bytes)
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

QString DecodeVCardText(const QByteArray& bytes, const QByteArray& charset)
{
    const QByteArray name = charset.toUpper();
    if (IsLatin1Name(name))
        return DecodeWindows1252(bytes);
    if (!name.isEmpty() && !IsUtf8Name(name) && name != "US-ASCII") {
        QStringDecoder declared(name.constData());
        if (declared.isValid())
            return declared.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1252(bytes);
}

QString UnescapeVCardText(const QString& value)
{
    if (!value.contains(QLatin1Char('\\')))
        return WithPlainLineBreaks(value);
    QString result;
    result.reserve(value.size());
    ScanEscaped(
        value, [&](QChar c) { result.append(c); }, [] {}, false);
    return WithPlainLineBreaks(result);
}

QStringList SplitVCardComponents(const QString& value)
{
    QStringList components(1);
    ScanEscaped(
        value, [&](QChar c) { components.last().append(c); }, [&] { components.append(QString()); }, true);
    for (QString& component : components)
        component = WithPlainLineBreaks(component);
    return components;
}
