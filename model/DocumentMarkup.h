#pragma once

#include "model/ColumnValue.h"
#include "model/clsAdresse.h"

#include <QString>

class clsFirma;

// The element structure of document files, shared by the company and the
// address records. Neither direction recurses per nesting level, so
// addresses nested arbitrarily deep are read and written with a flat stack.

// The columns and sub-records of one record, by reference.
struct RecordParts
{
    clsDictionary<ColumnValue>& spalten;
    clsDictionary<AdresseRef>& adressen;
};

// Reads the columns and nested addresses of a record whose start tag ends
// just before intPos, up to its end tag ("/Firma" or "/Adresse"), and leaves
// intPos just after that end tag. Nested addresses are numbered with
// NextID() in document order. Throws a Failure that says what is wrong and
// at which character for any text that is not such a record.
void ReadRecordMarkup(const QString& strXML, qint32& intPos, RecordParts record, QStringView endTag);

// Where the writer puts the document text: a QString, or the file's bytes
// directly, which spares a save the whole document as one more text.
class MarkupOutput
{
public:
    virtual ~MarkupOutput() = default;
    virtual void Append(QStringView markup) = 0;
};

class TextOutput final : public MarkupOutput
{
public:
    explicit TextOutput(QString& text) : m_text(text) {}
    void Append(QStringView markup) override { m_text += markup; }

private:
    QString& m_text;
};

// Writes the company element, "<Firma> " CR LF to "</Firma> ": its column
// lines ("<key>value</key> " CR LF, in column order, without "Node"), then
// an address block for each of its addresses.
void WriteCompanyMarkup(MarkupOutput& out, const clsFirma& firma);

// Writes the address block of an address and, nested in it after its
// columns, those of its sub-records, depth first.
void WriteAddressMarkup(MarkupOutput& out, const clsAdresse& adresse);
