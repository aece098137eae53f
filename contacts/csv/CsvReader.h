#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>
#include <vector>

// Splits the bytes of a CSV file into records of fields, in one pass.
//
// Read as spreadsheet programs read it: a field in double quotes may hold
// separators, line breaks (given as CR LF, whichever the file has) and
// doubled quotes; a quote inside an unquoted
// field is an ordinary character, and so is text after a closing quote; an
// unclosed quote runs to the end of the file. Records end at CR LF, LF or
// CR. The separator is decided from the first record: a semicolon when it
// holds semicolons but no comma outside quotes (a file that a German
// spreadsheet program saved again), otherwise a comma.
//
// The text is UTF-8 when the file starts with its byte-order mark or when
// all its bytes are valid UTF-8, otherwise Windows-1252, the code page
// Windows programs write. Fields are decoded only when asked for.
class CsvReader
{
public:
    // The bytes must outlive the reader.
    explicit CsvReader(QByteArrayView bytes);

    char Separator() const { return m_separator; }
    // Whether the fields are UTF-8; otherwise they are in the code page.
    bool IsUtf8() const { return m_utf8; }

    // Moves to the next record; false after the last one.
    bool Next();
    // The bytes after the current record.
    qsizetype Remaining() const { return m_bytes.size() - m_position; }

    // The fields of the current record. A record may be shorter than
    // others: a field past its end is empty.
    qsizetype FieldCount() const { return m_fieldCount; }
    QByteArrayView FieldBytes(qsizetype index) const
    {
        if (index < 0 || index >= m_fieldCount)
            return {};
        const Span& span = m_fields[size_t(index)];
        const char* source = span.inScratch ? m_scratch.data() : m_bytes.data();
        return QByteArrayView(source + span.begin, span.end - span.begin);
    }
    QString Field(qsizetype index) const;
    // True when no field of the current record holds anything (a blank line).
    bool IsBlank() const;

private:
    struct Span
    {
        qsizetype begin;
        qsizetype end;
        bool inScratch; // unescaped into m_scratch, else a slice of the bytes
    };

    qsizetype ReadQuoted(qsizetype begin, qsizetype stop);
    void AddField(qsizetype begin, qsizetype end, bool inScratch)
    {
        if (size_t(m_fieldCount) == m_fields.size())
            m_fields.resize(m_fields.size() * 2 + 16);
        m_fields[size_t(m_fieldCount++)] = {begin, end, inScratch};
    }

    QByteArrayView m_bytes;
    qsizetype m_position = 0;
    char m_separator = ',';
    bool m_utf8 = false;
    // The fields of the record; the first m_fieldCount are in use.
    std::vector<Span> m_fields;
    qsizetype m_fieldCount = 0;
    std::string m_scratch;
};
