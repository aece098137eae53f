#pragma once

#include "model/clsFirma.h"

#include <QByteArray>
#include <QString>

// The records of a small document as one line: each record's columns as
// key=value, separated by "|", with its sub-records in brackets after them,
// for example "Node=1|Name=X[Node=2|Name=Muster]".
QString Dump(const clsFirma& firma);

// Record numbers from 1, as a window's empty counter gives them.
NextIDFunction Counter();

// The document read from file bytes, as a file is opened.
FirmaRef ReadDocument(const QByteArray& bytes, const NextIDFunction& NextID = Counter());
// The same read from the text the bytes decode to.
FirmaRef ReadDocumentText(const QByteArray& bytes, const NextIDFunction& NextID = Counter());

QByteArray FileBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// Empty when both are the same bytes; otherwise names the first line that
// differs, with both versions of it.
QString FirstDifferentLine(const QByteArray& written, const QByteArray& expected);

// The path of a file in tests/data.
QString TestDataFile(const QString& name);
