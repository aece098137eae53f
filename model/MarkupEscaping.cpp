#include "model/MarkupEscaping.h"

namespace {

void AppendReference(QString& out, char16_t ch)
{
    out += QStringLiteral("&#");
    out += QString::number(uint(ch));
    out += QLatin1Char(';');
}

bool NeedsEscaping(const QString& text, bool isName)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == '&' || c == '<' || c == '>' || (isName && c < 0x20))
            return true;
    }
    return isName && text.startsWith(QLatin1Char('/'));
}

QString Escape(const QString& text, bool isName)
{
    if (!NeedsEscaping(text, isName))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == '&')
            out += QStringLiteral("&amp;");
        else if (c == '<')
            out += QStringLiteral("&lt;");
        else if (c == '>' && (isName || (i >= 2 && text[i - 1] == QLatin1Char(']') && text[i - 2] == QLatin1Char(']'))))
            out += QStringLiteral("&gt;");
        else if (isName && (c < 0x20 || (i == 0 && c == '/')))
            AppendReference(out, c);
        else
            out += QChar(c);
    }
    return out;
}

// The code point of a character reference's digits, or 0 when they are not
// a number of a character a file may name.
char32_t ReferencedCharacter(QStringView digits)
{
    int base = 10;
    if (digits.startsWith(QLatin1Char('x'))) {
        base = 16;
        digits = digits.mid(1);
    }
    if (digits.isEmpty() || digits.size() > 8)
        return 0;
    char32_t value = 0;
    for (const QChar ch : digits) {
        const int digit = ch.isDigit() && ch.unicode() < 0x80 ? ch.unicode() - '0'
                          : base == 16 && ch.unicode() >= 'a' && ch.unicode() <= 'f' ? ch.unicode() - 'a' + 10
                          : base == 16 && ch.unicode() >= 'A' && ch.unicode() <= 'F' ? ch.unicode() - 'A' + 10
                                                                                     : -1;
        if (digit < 0)
            return 0;
        value = value * char32_t(base) + char32_t(digit);
        if (value > 0x10FFFF)
            return 0;
    }
    if (QChar::isSurrogate(value))
        return 0;
    return value;
}

struct NamedEntity
{
    QLatin1StringView name;
    char16_t ch;
};

const NamedEntity NamedEntities[] = {
    {QLatin1StringView("amp"), '&'},  {QLatin1StringView("lt"), '<'},    {QLatin1StringView("gt"), '>'},
    {QLatin1StringView("quot"), '"'}, {QLatin1StringView("apos"), '\''},
};

// Appends what the entity between "&" and ";" stands for; false when it is
// none that is known.
bool AppendEntity(QString& out, QStringView entity)
{
    if (entity.startsWith(QLatin1Char('#'))) {
        const char32_t ch = ReferencedCharacter(entity.mid(1));
        if (ch == 0)
            return false;
        if (QChar::requiresSurrogates(ch)) {
            out += QChar(QChar::highSurrogate(ch));
            out += QChar(QChar::lowSurrogate(ch));
        } else {
            out += QChar(char16_t(ch));
        }
        return true;
    }
    for (const NamedEntity& named : NamedEntities) {
        if (entity == named.name) {
            out += QChar(named.ch);
            return true;
        }
    }
    return false;
}

}

QString EscapeMarkupText(const QString& text)
{
    return Escape(text, false);
}

QString EscapeMarkupName(const QString& name)
{
    return Escape(name, true);
}

QString UnescapeMarkup(QStringView text)
{
    qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return text.toString();
    // The longest entity is "&#x10FFFF;"; a ";" further away ends none.
    constexpr qsizetype LongestEntity = 10;
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    while (amp >= 0) {
        out += text.mid(done, amp - done);
        const qsizetype semicolon = text.mid(amp + 1, LongestEntity).indexOf(QLatin1Char(';'));
        if (semicolon > 0 && AppendEntity(out, text.mid(amp + 1, semicolon))) {
            done = amp + semicolon + 2;
        } else {
            out += QLatin1Char('&');
            done = amp + 1;
        }
        amp = text.indexOf(QLatin1Char('&'), done);
    }
    out += text.mid(done);
    return out;
}
