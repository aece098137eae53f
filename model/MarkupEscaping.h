#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

// The escaping of column values and keys in document files.

// A column value: "&" as "&amp;", "<" as "&lt;" and the ">" of "]]>" as
// "&gt;", so the file stays well-formed. Text without these characters is
// written unchanged; line breaks stay line breaks.
QString EscapeMarkupText(const QString& text);
// The same for a value in the document code page, written to out, which
// has room for five bytes a byte; returns the end of what was written.
char* WriteEscapedMarkupText(char* out, QByteArrayView codePageText);

// A column key used as an element name: as a value, and also every ">",
// every control character and a leading "/" as a character reference, so
// that no key can be taken for a tag boundary or an end tag when read back.
QString EscapeMarkupName(const QString& name);

// Reverses both, in one pass: the five predefined entities and decimal or
// hexadecimal character references ("&#0;" included, which is how a key
// holding NUL is written). Anything else after an "&" (an unknown name, an
// invalid number) stays as it is.
QString UnescapeMarkup(QStringView text);
// The same for markup in the document code page, into out; false, with out
// unspecified, when a reference names a character the code page lacks.
bool UnescapeMarkupToCodePage(QByteArrayView text, std::string& out);
