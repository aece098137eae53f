#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <initializer_list>
#include <string>

// Outlook keeps a multi-line field with CR LF between its lines, and so
// does every value the import brings in, whatever its source wrote.

// The text with every line break (CR LF, a bare LF, a bare CR) as CR LF.
QString WithCrLfLineBreaks(QString text);
void AppendWithCrLfLineBreaks(std::string& out, QByteArrayView text);

// The lines of a street (a PO box, a building, the street itself) in one
// value, one per line; a line that is empty or only blanks is left out.
void AppendStreetLines(std::initializer_list<QStringView> lines, QString& out);
void AppendStreetLines(std::initializer_list<QByteArrayView> lines, std::string& out);
