#include "model/MarkupText.h"

#include "platform/Failure.h"

#include <limits>

namespace {

void CheckPosition(qint32 intPos)
{
    if (intPos < 1)
        throw Failure::InvalidArgument();
}

// Positions are 32-bit: a text too long to be addressed by them is refused
// instead of being searched with wrapped-around positions.
void CheckLength(const QString& strText)
{
    if (strText.size() >= std::numeric_limits<qint32>::max())
        throw Failure::Overflow();
}

qint32 FindChar(const QString& strText, QChar ch, qint32 intPos)
{
    if (intPos > strText.size())
        return 0;
    return qint32(strText.indexOf(ch, intPos - 1)) + 1;
}

// The next tag at or after intPos: the positions of its "<" and of the ">"
// that closes it. openPos is 0 when no "<" follows, closePos is 0 when a "<"
// has no ">" after it.
struct TagPositions
{
    qint32 openPos = 0;
    qint32 closePos = 0;
};

TagPositions FindNextTag(const QString& strText, qint32 intPos)
{
    CheckPosition(intPos);
    CheckLength(strText);
    TagPositions tag;
    tag.openPos = FindChar(strText, QLatin1Char('<'), intPos);
    if (tag.openPos > 0)
        tag.closePos = FindChar(strText, QLatin1Char('>'), tag.openPos);
    return tag;
}

}

QString GetTagName(const QString& strText, qint32 intPos)
{
    const TagPositions tag = FindNextTag(strText, intPos);
    if (tag.openPos == 0)
        return QString();
    if (tag.closePos == 0)
        throw Failure::InvalidArgument();
    return strText.mid(tag.openPos, tag.closePos - tag.openPos - 1);
}

QString GetTagValue(const QString& strText, qint32 intPos)
{
    CheckPosition(intPos);
    CheckLength(strText);
    const qint32 open = FindChar(strText, QLatin1Char('<'), intPos);
    if (open == 0)
        return QString();
    return strText.mid(intPos - 1, open - intPos);
}

QString StripLineBreaks(QString& strText)
{
    strText.remove(QLatin1Char('\r'));
    strText.remove(QLatin1Char('\n'));
    return strText;
}

QString ConvertAmpersands(const QString& strText, bool blnEncode)
{
    QString converted = strText;
    if (blnEncode)
        converted.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    else
        converted.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return converted;
}
