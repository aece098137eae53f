#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

// The two name properties the import reads, formed from a contact's name
// parts as Outlook forms them, for the sources that only have the parts.

// FullName as Outlook 2007 and later build it: title, first, middle and last
// name and suffix, joined by single blanks, empty parts left out.
QString OutlookFullName(QStringView title, QStringView first, QStringView middle, QStringView last,
                        QStringView suffix);
// The same of parts in the document code page, appended to out in it.
void AppendOutlookFullName(QByteArrayView title, QByteArrayView first, QByteArrayView middle, QByteArrayView last,
                           QByteArrayView suffix, std::string& out);

// LastFirstSpaceOnly: last, first and middle name joined by single blanks,
// but only for a contact whose name parts or company hold East Asian
// characters; Outlook leaves it empty for everyone else, so that the import
// shows their FullName. (The code page holds no East Asian characters.)
QString OutlookLastFirstSpaceOnly(QStringView first, QStringView middle, QStringView last, QStringView suffix,
                                  QStringView company);

// True when the text holds a Chinese, Japanese or Korean character.
bool HasEastAsianCharacters(QStringView text);
