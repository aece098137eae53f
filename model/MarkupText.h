#pragma once

#include <QString>
#include <QtGlobal>

// The scanning the document format is read with: plain searches for "<" and
// ">" in the whole document text, not a markup parser. Positions are 1-based
// 32-bit character indexes; a search that finds nothing gives 0.

// The name inside the next tag at or after intPos: everything strictly
// between its "<" and ">". Empty when no "<" follows. Throws
// Failure::InvalidArgument for intPos < 1 and for a "<" without ">".
QString GetTagName(const QString& strText, qint32 intPos);

// The characters from intPos up to, not including, the next "<"; empty when
// no "<" follows. Throws Failure::InvalidArgument for intPos < 1.
QString GetTagValue(const QString& strText, qint32 intPos);

// Removes every CR and every LF, in place, and returns the result.
QString StripLineBreaks(QString& strText);

// blnEncode: every "&" becomes "&amp;"; otherwise every "&amp;" becomes "&".
// One pass, left to right; replaced text is not scanned again.
QString ConvertAmpersands(const QString& strText, bool blnEncode);
