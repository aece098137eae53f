#pragma once

#include "model/NextID.h"

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
// The text of a file's bytes.
QString DocumentFileText(QByteArrayView bytes);

// Reads the file into firma, straight from its bytes, numbering the records
// with NextID. Throws a Failure naming the path, or saying what is wrong
// with the file and where.
void LoadDocumentFile(const QString& strFile, clsFirma& firma, const NextIDFunction& NextID);
// Saves the document, replacing the file's content in one step: a failed
// save leaves an existing file as it was. Throws a Failure naming the path.
void SaveDocumentFile(const QString& strFile, const clsFirma& firma);
