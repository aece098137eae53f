#pragma once

#include "model/NextID.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

class clsFirma;
class clsAdresse;

// The element structure of document files, shared by the company and the
// address records. Neither direction recurses per nesting level, so
// addresses nested arbitrarily deep are read and written with a flat stack.
//
// Reading scans for "<" and ">" as the format was always read, not with a
// markup parser, and works on text or, as a file is opened, directly on the
// file's bytes in the code page: "<", ">", "&" and line breaks are the same
// bytes there, and each value is decoded on its own. Line breaks inside a
// tag are no part of its name; line breaks inside a value stay. Records are
// numbered in document order by the NextID handed in. A text that is no such record
// throws a Failure that says what is wrong and at which character.

// The company from its first "<Firma>" to the "</Firma>" that ends it.
void ReadCompanyMarkup(clsFirma& firma, QStringView text, const NextIDFunction& NextID);
void ReadCompanyMarkup(clsFirma& firma, QByteArrayView codePageBytes, const NextIDFunction& NextID);
// An address whose "<Adresse>" ends just before the 1-based intPos, up to
// its "</Adresse>"; leaves intPos just after that.
void ReadAddressMarkup(clsAdresse& adresse, QStringView text, qint32& intPos, const NextIDFunction& NextID);

// Where the writer's bytes go, in pieces of about a mebibyte.
class ByteOutput
{
public:
    virtual ~ByteOutput() = default;
    virtual void Write(QByteArrayView bytes) = 0;
};

// Writes the company element, "<Firma> " CR LF to "</Firma> ", in the
// document code page: its column lines ("<key>value</key> " CR LF, in
// column order, without "Node"), then an address block for each of its
// addresses, each holding its sub-records after its columns.
void WriteCompanyMarkup(ByteOutput& out, const clsFirma& firma);

// The same as text, and an address block appended to strXML.
QString CompanyMarkupText(const clsFirma& firma);
void AppendAddressMarkupText(QString& strXML, const clsAdresse& adresse);
