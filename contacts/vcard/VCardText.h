#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Byte and text level helpers of the vCard reader.

// The file's bytes as UTF-8 without a byte-order mark: a UTF-16 file is
// converted, told by its mark or, without one, by the NUL byte beside each
// letter of its first line; a UTF-8 mark is dropped; anything else is kept
// as it is and decoded value by value.
QByteArray VCardBytesWithoutBom(const QByteArray& bytes);

// Quoted-printable "=XX" sequences to bytes; soft line breaks are already
// joined by the reader. A malformed "=" is kept as it stands.
QByteArray DecodeQuotedPrintable(QByteArrayView bytes);

// The vCard version a card declares, as far as reading it matters.
enum class VCardVersion {
    Legacy, // 2.1 and older: folds keep their blank, 8-bit values are often the Windows code page
    Modern, // 3.0, 4.0, or none given: folds drop their blank, text is UTF-8
};

// A value's bytes as text. A declared charset is used when it is known; a
// declared UTF-8 value with a bad byte is still UTF-8, with U+FFFD for that
// byte. Without a declaration (or with an unknown one) valid UTF-8 is
// UTF-8; other bytes are read as Windows-1252, which older exporters write,
// unless a modern card's value holds UTF-8 characters beside the bad byte.
QString DecodeVCardText(QByteArrayView bytes, QByteArrayView charset, VCardVersion version);

// Backslash escapes resolved: "\n" and "\N" give a line break, any other
// escaped character stands for itself ("\,", "\;", "\\", "\:"). Every line
// break comes out as CR LF.
QString UnescapeVCardText(const QString& value);

// A structured value (N, ADR, ORG) split at its unescaped semicolons, each
// component unescaped.
QStringList SplitVCardComponents(const QString& value);
