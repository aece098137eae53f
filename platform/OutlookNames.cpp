#include "platform/OutlookNames.h"

#include <QStringList>

#include <initializer_list>

namespace {

QString JoinParts(std::initializer_list<const QString*> parts)
{
    QString joined;
    for (const QString* part : parts) {
        const QString trimmed = part->trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined += QLatin1Char(' ');
        joined += trimmed;
    }
    return joined;
}

}

QString OutlookFullName(const QString& title, const QString& first, const QString& middle, const QString& last,
                        const QString& suffix)
{
    return JoinParts({&title, &first, &middle, &last, &suffix});
}

QString OutlookLastFirstSpaceOnly(const QString& first, const QString& middle, const QString& last,
                                  const QString& suffix, const QString& company)
{
    for (const QString* part : {&first, &middle, &last, &suffix, &company}) {
        if (HasEastAsianCharacters(*part))
            return JoinParts({&last, &first, &middle});
    }
    return QString();
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
