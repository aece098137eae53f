#include "contacts/OutlookNames.h"

#include <initializer_list>
#include <utility>

namespace {

QStringView Trimmed(QStringView text)
{
    return text.trimmed();
}

// The blanks QString::trimmed takes away, in the code page: tab, line
// breaks, blank and no-break space.
QByteArrayView Trimmed(QByteArrayView text)
{
    const auto isBlank = [](char c) { return (c >= '\t' && c <= '\r') || c == ' ' || c == '\xA0'; };
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

void Append(QString& out, QStringView text, bool blankBefore)
{
    if (blankBefore)
        out += QLatin1Char(' ');
    out += text;
}

void Append(std::string& out, QByteArrayView text, bool blankBefore)
{
    if (blankBefore)
        out += ' ';
    out.append(text.data(), size_t(text.size()));
}

template <typename View, typename Out>
void AppendJoined(std::initializer_list<View> parts, Out& out)
{
    bool first = true;
    for (const View part : parts) {
        const View trimmed = Trimmed(part);
        if (trimmed.isEmpty())
            continue;
        Append(out, trimmed, !std::exchange(first, false));
    }
}

}

QString OutlookFullName(QStringView title, QStringView first, QStringView middle, QStringView last,
                        QStringView suffix)
{
    QString joined;
    AppendJoined({title, first, middle, last, suffix}, joined);
    return joined;
}

void AppendOutlookFullName(QByteArrayView title, QByteArrayView first, QByteArrayView middle, QByteArrayView last,
                           QByteArrayView suffix, std::string& out)
{
    AppendJoined({title, first, middle, last, suffix}, out);
}

QString OutlookLastFirstSpaceOnly(QStringView first, QStringView middle, QStringView last, QStringView suffix,
                                  QStringView company)
{
    QString joined;
    for (const QStringView part : {first, middle, last, suffix, company}) {
        if (HasEastAsianCharacters(part)) {
            AppendJoined({last, first, middle}, joined);
            break;
        }
    }
    return joined;
}

bool HasEastAsianCharacters(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Hangul, the first of these scripts, starts at U+1100.
        if (text[i].unicode() < 0x1100)
            continue;
        char32_t ch = text[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        switch (QChar::script(ch)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
        case QChar::Script_Bopomofo:
            return true;
        default:
            break;
        }
    }
    return false;
}
