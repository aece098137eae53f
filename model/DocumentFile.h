#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;
class clsFirma;

// Document files as bytes: the header line, the company element in the
// Windows-1252 code page, every line ended by CR LF.

extern const QByteArray DocumentHeaderLine; // without its CR LF

// Writes the complete file content of a document to device, piece by piece;
// throws a Failure when the device refuses.
void WriteDocument(QIODevice& device, const clsFirma& firma);
// The complete file content of a document.
QByteArray DocumentFileBytes(const clsFirma& firma);
// The text the records are read from.
QString DocumentFileText(QByteArrayView bytes);

// The whole content of an existing file; throws a Failure naming the path.
QByteArray ReadDocumentFile(const QString& strFile);
// Saves the document, replacing the file's content in one step: the bytes go
// to a temporary file beside it that takes the file's place only once
// everything was written, so a failed save leaves an existing file as it
// was. Throws a Failure.
void SaveDocumentFile(const QString& strFile, const clsFirma& firma);
