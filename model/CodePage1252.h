#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The single-byte code page of document files: Windows-1252, which agrees
// with Latin-1 everywhere but in 0x80-0x9F. The five bytes Windows-1252
// leaves undefined there (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1
// control characters of the same number, both ways, so no byte is lost.

QString DecodeWindows1252(QByteArrayView bytes);
// The character of one byte.
char16_t Windows1252Char(char byte);

// The byte for a character, or -1 when the code page has none.
int Windows1252Byte(char32_t ch);
// Whether every character of text has a byte; a lone surrogate has none.
bool FitsWindows1252(QStringView text);
// Writes the bytes of a text that fits the code page to out, one a character.
void EncodeWindows1252Into(QStringView text, char* out);

// Characters the code page cannot hold are written as numeric character
// references ("&#345;"), so the result is only meant for markup text in
// which every literal "&" has already been escaped. A lone surrogate, which
// no file can carry, becomes the replacement character U+FFFD.
QByteArray EncodeWindows1252(QStringView text);
// The same, appended to out.
void AppendWindows1252(QByteArray& out, QStringView text);
