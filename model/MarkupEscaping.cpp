#include "model/MarkupEscaping.h"

#include "model/CodePage1252.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <type_traits>

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

// The code point of a character reference's digits, if they are the number
// of a character a file may name.
template <typename Ch>
std::optional<char32_t> ReferencedCharacter(const Ch* digits, qsizetype size)
{
    int base = 10;
    if (size > 0 && digits[0] == 'x') {
        base = 16;
        ++digits;
        --size;
    }
    if (size == 0 || size > 8)
        return std::nullopt;
    char32_t value = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char32_t ch = char32_t(std::make_unsigned_t<Ch>(digits[i]));
        const int digit = ch >= '0' && ch <= '9'                  ? int(ch - '0')
                          : base == 16 && ch >= 'a' && ch <= 'f' ? int(ch - 'a' + 10)
                          : base == 16 && ch >= 'A' && ch <= 'F' ? int(ch - 'A' + 10)
                                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * char32_t(base) + char32_t(digit);
        if (value > 0x10FFFF)
            return std::nullopt;
    }
    if (QChar::isSurrogate(value))
        return std::nullopt;
    return value;
}

struct NamedEntity
{
    const char* name;
    char ch;
};

const NamedEntity NamedEntities[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};

// The character the entity between "&" and ";" stands for, if it is one
// that is known.
template <typename Ch>
std::optional<char32_t> EntityCharacter(const Ch* entity, qsizetype size)
{
    if (size > 0 && entity[0] == '#')
        return ReferencedCharacter(entity + 1, size - 1);
    for (const NamedEntity& named : NamedEntities) {
        if (std::equal(entity, entity + size, named.name, named.name + std::strlen(named.name)))
            return char32_t(named.ch);
    }
    return std::nullopt;
}

// Goes through markup text in one pass: literal(from, to) for each run of
// text, character(ch) for each entity and reference it understands, which
// returns false to give up. False when it gave up.
template <typename Ch, typename Literal, typename Character>
bool Unescape(const Ch* text, qsizetype size, Literal literal, Character character)
{
    // The longest entity is "&#x10FFFF;"; a ";" further away ends none.
    constexpr qsizetype LongestEntity = 10;
    const Ch* const end = text + size;
    const Ch* done = text;
    for (const Ch* amp = std::find(text, end, Ch('&')); amp != end; amp = std::find(done, end, Ch('&'))) {
        const Ch* const limit = std::min(end, amp + 1 + LongestEntity);
        const Ch* const semicolon = std::find(amp + 1, limit, Ch(';'));
        const std::optional<char32_t> ch =
            semicolon != limit ? EntityCharacter(amp + 1, semicolon - amp - 1) : std::nullopt;
        if (ch) {
            literal(done, amp);
            if (!character(*ch))
                return false;
            done = semicolon + 1;
        } else {
            literal(done, amp + 1);
            done = amp + 1;
        }
    }
    literal(done, end);
    return true;
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

char* WriteEscapedMarkupText(char* out, QByteArrayView text)
{
    const auto put = [&out](std::string_view escaped) {
        out = std::copy(escaped.begin(), escaped.end(), out);
    };
    const char* const begin = text.data();
    for (const char* p = begin; p != begin + text.size(); ++p) {
        const char c = *p;
        if (c == '&')
            put("&amp;");
        else if (c == '<')
            put("&lt;");
        else if (c == '>' && p - begin >= 2 && p[-1] == ']' && p[-2] == ']')
            put("&gt;");
        else
            *out++ = c;
    }
    return out;
}

QString UnescapeMarkup(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    Unescape(
        text.utf16(), text.size(), [&](const char16_t* from, const char16_t* to) { out.append(QStringView(from, to)); },
        [&](char32_t ch) {
            out.append(QStringView(QChar::fromUcs4(ch)));
            return true;
        });
    return out;
}

bool UnescapeMarkupToCodePage(QByteArrayView text, std::string& out)
{
    out.clear();
    return Unescape(
        text.data(), text.size(), [&](const char* from, const char* to) { out.append(from, to); },
        [&](char32_t ch) {
            const int byte = Windows1252Byte(ch);
            out.push_back(char(byte));
            return byte >= 0;
        });
}
