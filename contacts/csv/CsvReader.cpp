#include "contacts/csv/CsvReader.h"

#include "contacts/ByteSearch.h"
#include "model/CodePage1252.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char Quote = '"';

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Valid as the standard defines it: no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        // Runs of ASCII, eight bytes at a time.
        while (end - p >= 8) {
            quint64 chunk;
            std::memcpy(&chunk, p, 8);
            if (chunk & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const uchar lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int length;
        char32_t code;
        char32_t smallest;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

}

CsvReader::CsvReader(QByteArrayView bytes)
    : m_bytes(bytes)
{
    if (m_bytes.startsWith("\xEF\xBB\xBF")) {
        m_bytes = m_bytes.sliced(3);
        m_utf8 = true;
    } else {
        m_utf8 = IsValidUtf8(m_bytes);
    }
    // The first record read with either separator, as the records will be.
    m_separator = ';';
    const bool semicolons = Next() && FieldCount() > 1;
    m_position = 0;
    m_separator = ',';
    if (semicolons && Next() && FieldCount() == 1)
        m_separator = ';';
    m_position = 0;
    m_fieldCount = 0;
}

bool CsvReader::Next()
{
    m_fieldCount = 0;
    m_scratch.clear();
    const char* const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    qsizetype position = m_position;
    if (position >= size)
        return false;
    // Read front to back, the bytes of the next records are fetched ahead:
    // the processor fetches ahead only within a page of the file.
    for (qsizetype ahead = 512; ahead < 1024 && position + ahead < size; ahead += 64)
        __builtin_prefetch(data + position + ahead);

    for (;;) {
        if (position < size && data[position] == Quote) {
            // Most quoted fields end at their first quote, hold no line
            // break, and are used in place.
            const qsizetype begin = position + 1;
            const qsizetype stop = FindFirstOf(data, begin, size, Quote, '\r', '\n');
            if (stop >= size || (data[stop] == Quote && (stop + 1 == size || data[stop + 1] == m_separator ||
                                                         IsLineEnd(data[stop + 1])))) {
                AddField(begin, stop, false);
                position = std::min(stop + 1, size);
            } else {
                position = ReadQuoted(begin, stop);
            }
        } else {
            const qsizetype begin = position;
            position = FindFirstOf(data, position, size, m_separator, '\r', '\n');
            AddField(begin, position, false);
        }
        if (position < size && data[position] == m_separator) {
            ++position;
            continue;
        }
        if (position < size)
            position += data[position] == '\r' && position + 1 < size && data[position + 1] == '\n' ? 2 : 1;
        m_position = position;
        return true;
    }
}

// From just after the opening quote, with the first quote or line break
// that follows, to the separator or line end after the field: doubled
// quotes, text after the closing quote and line breaks are unescaped, each
// line break as CR LF. Returns that position.
qsizetype CsvReader::ReadQuoted(qsizetype begin, qsizetype stop)
{
    const char* const data = m_bytes.data();
    const qsizetype size = m_bytes.size();
    const auto nextStop = [&](qsizetype from) { return FindFirstOf(data, from, size, Quote, '\r', '\n'); };

    const qsizetype scratchBegin = qsizetype(m_scratch.size());
    m_scratch.append(data + begin, size_t(stop - begin));
    qsizetype position = stop;
    bool quoted = true;
    while (position < size) {
        if (!quoted) {
            const char c = data[position];
            if (c == m_separator || IsLineEnd(c))
                break;
            m_scratch.push_back(c);
            ++position;
        } else if (IsLineEnd(data[position])) {
            m_scratch += "\r\n";
            position += data[position] == '\r' && position + 1 < size && data[position + 1] == '\n' ? 2 : 1;
        } else if (data[position] != Quote) {
            const qsizetype next = nextStop(position);
            m_scratch.append(data + position, size_t(next - position));
            position = next;
        } else if (position + 1 < size && data[position + 1] == Quote) {
            m_scratch.push_back(Quote);
            position += 2;
        } else {
            quoted = false;
            ++position;
        }
    }
    AddField(scratchBegin, qsizetype(m_scratch.size()), true);
    return position;
}

QString CsvReader::Field(qsizetype index) const
{
    const QByteArrayView bytes = FieldBytes(index);
    if (bytes.isEmpty())
        return QString();
    return m_utf8 ? QString::fromUtf8(bytes) : DecodeWindows1252(bytes);
}

bool CsvReader::IsBlank() const
{
    for (qsizetype i = 0; i < m_fieldCount; ++i) {
        if (m_fields[size_t(i)].end > m_fields[size_t(i)].begin)
            return false;
    }
    return true;
}
