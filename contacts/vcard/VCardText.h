#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Byte and text level helpers of the vCard reader.

// The file's bytes as UTF-8 without a byte-order mark: a UTF-16 file (with
// its mark) is converted, a UTF-8 mark is dropped, anything else is kept as
// it is and decoded value by value.
QByteArray VCardBytesWithoutBom(const QByteArray& bytes);

// Quoted-printable "=XX" sequences to bytes; soft line breaks are already
// joined by the reader. A malformed "=" is kept as it stands.
QByteArray DecodeQuotedPrintable(QByteArrayView bytes);

// A value's bytes as text. A declared charset is used when it is known;
// without one (or with an unknown one) the bytes must be valid UTF-8, and
// otherwise they are read as Windows-1252, which older exporters write.
QString DecodeVCardText(QByteArrayView bytes, QByteArrayView charset);

// Backslash escapes resolved: "\n" and "\N" give a line break, any other
// escaped character stands for itself ("\,", "\;", "\\", "\:"). Every line
// break comes out as CR LF.
QString UnescapeVCardText(const QString& value);

// A structured value (N, ADR, ORG) split at its unescaped semicolons, each
// component unescaped.
QStringList SplitVCardComponents(const QString& value);
