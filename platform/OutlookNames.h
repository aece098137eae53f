#pragma once

#include <QString>
#include <QStringView>

// The two name properties the import reads, formed from a contact's name
// parts as Outlook forms them, for the sources that only have the parts.

// FullName as Outlook 2007 and later build it: title, first, middle and last
// name and suffix, joined by single blanks, empty parts left out.
QString OutlookFullName(const QString& title, const QString& first, const QString& middle, const QString& last,
                        const QString& suffix);

// LastFirstSpaceOnly: last, first and middle name joined by single blanks,
// but only for a contact whose name parts or company hold East Asian
// characters; Outlook leaves it empty for everyone else, so that the import
// shows their FullName.
QString OutlookLastFirstSpaceOnly(const QString& first, const QString& middle, const QString& last,
                                  const QString& suffix, const QString& company);

// True when the text holds a Chinese, Japanese or Korean character.
bool HasEastAsianCharacters(QStringView text);
