#pragma once

#include <QString>
#include <QStringView>

// The escaping of column values and keys in document files.

// A column value: "&" as "&amp;", "<" as "&lt;" and the ">" of "]]>" as
// "&gt;", so the file stays well-formed. Text without these characters is
// written unchanged; line breaks stay line breaks.
QString EscapeMarkupText(const QString& text);

// A column key used as an element name: as a value, and also every ">",
// every control character and a leading "/" as a character reference, so
// that no key can be taken for a tag boundary or an end tag when read back.
QString EscapeMarkupName(const QString& name);

// Reverses both, in one pass: the five predefined entities and decimal or
// hexadecimal character references. Anything else after an "&" (an unknown
// name, an invalid number) stays as it is.
QString UnescapeMarkup(QStringView text);
