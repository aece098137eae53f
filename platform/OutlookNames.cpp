#include "platform/OutlookNames.h"

#include <QStringList>

#include <algorithm>
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
    // No such script starts below the Hangul Jamo at U+1100.
    const auto isBelowHangul = [](QChar ch) { return ch.unicode() < 0x1100; };
    if (std::all_of(text.begin(), text.end(), isBelowHangul))
        return false;
    for (const char32_t ch : text.toUcs4()) {
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
