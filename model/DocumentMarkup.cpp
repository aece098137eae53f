#include "model/DocumentMarkup.h"

#include "model/clsFirma.h"
#include "model/CodePage1252.h"
#include "model/MarkupEscaping.h"
#include "model/NextID.h"
#include "model/PackedTexts.h"
#include "platform/Failure.h"
#include "platform/MemoryArena.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

const QString NodeKey = QStringLiteral("Node");

// --- characters: the file's bytes (char) or text (char16_t) ---------------

QString ToText(const char* text, qsizetype size)
{
    return DecodeWindows1252(QByteArrayView(text, size));
}

QString ToText(const char16_t* text, qsizetype size)
{
    return QStringView(text, size).toString();
}

// The position of the next c at or after from, or -1.
qsizetype FindChar(const char* text, qsizetype size, qsizetype from, char c)
{
    // Mostly a few characters away: look at those before calling memchr.
    const qsizetype near = std::min(size, from + 16);
    for (qsizetype i = from; i < near; ++i) {
        if (text[i] == c)
            return i;
    }
    if (near >= size)
        return -1;
    const void* found = std::memchr(text + near, c, size_t(size - near));
    return found ? static_cast<const char*>(found) - text : -1;
}

qsizetype FindChar(const char16_t* text, qsizetype size, qsizetype from, char c)
{
    return from >= size ? -1 : QStringView(text, size).indexOf(QLatin1Char(c), from);
}

template <typename Ch>
bool IsLineBreak(Ch c)
{
    return c == '\r' || c == '\n';
}

// The position of the ">" of the tag whose "<" is at open if, line breaks
// left out, the tag reads "<" slash name ">"; -1 otherwise.
template <typename Ch, typename NameCh>
qsizetype MatchTag(const Ch* text, qsizetype size, qsizetype open, bool slash, const NameCh* name, qsizetype length)
{
    qsizetype i = open + 1;
    const auto expect = [&](auto c) {
        while (i < size && IsLineBreak(text[i]))
            ++i;
        return i < size && text[i++] == Ch(std::make_unsigned_t<decltype(c)>(c));
    };
    if (slash && !expect('/'))
        return -1;
    for (qsizetype n = 0; n < length; ++n) {
        if (!expect(name[n]))
            return -1;
    }
    return expect('>') ? i - 1 : -1;
}

template <typename Ch>
bool Is(std::basic_string_view<Ch> name, std::string_view ascii)
{
    return std::equal(name.begin(), name.end(), ascii.begin(), ascii.end(),
                      [](Ch a, char b) { return a == Ch(b); });
}

// --- failures -----------------------------------------------------------

// Texts from the file go into messages in one pass, so that a "%1" in a
// tag name stays as it is.
QString Position(qsizetype index)
{
    return QString::number(index + 1);
}

struct RecordKind
{
    std::string_view startTag, endTag;
};
constexpr RecordKind Company{"<Firma>", "/Firma"};
constexpr RecordKind Address{"<Adresse>", "/Adresse"};

QLatin1StringView Latin1(std::string_view text)
{
    return QLatin1StringView(text.data(), qsizetype(text.size()));
}

[[noreturn]] void ThrowUnclosedTag(qsizetype open)
{
    throw Failure(QStringLiteral("Das Tag an Zeichen %1 wird nicht mit \">\" geschlossen.").arg(Position(open)));
}

[[noreturn]] void ThrowEndOfText(const RecordKind& kind, qsizetype start)
{
    throw Failure(QStringLiteral("Die Datei endet zu früh: Zu dem Element %1 an Zeichen %2 fehlt das Ende-Tag <%3>.")
                      .arg(Latin1(kind.startTag), Position(start), Latin1(kind.endTag)));
}

[[noreturn]] void ThrowUnexpectedEndTag(const QString& name, qsizetype open, const RecordKind& kind)
{
    throw Failure(QStringLiteral("Unerwartetes Ende-Tag <%1> an Zeichen %2; erwartet wird <%3>.")
                      .arg(name, Position(open), Latin1(kind.endTag)));
}

[[noreturn]] void ThrowUnclosedColumn(const QString& name, qsizetype open)
{
    if (name.endsWith(QLatin1Char('/')))
        throw Failure(
            QStringLiteral("Das leere Element <%1> an Zeichen %2 wird nicht unterstützt.").arg(name, Position(open)));
    if (name.contains(QLatin1Char('=')))
        throw Failure(QStringLiteral("Das Element <%1> an Zeichen %2 hat Attribute; sie werden nicht unterstützt.")
                          .arg(name, Position(open)));
    throw Failure(QStringLiteral("Zu dem Element <%1> an Zeichen %2 fehlt das Ende-Tag </%1>.").arg(name, Position(open)));
}

// --- values ----------------------------------------------------------------

// Hands out the values read from a file's bytes: they are kept in the code
// page, packed into shared blocks.
class CodePageValues
{
public:
    ColumnValue Make(QByteArrayView escaped)
    {
        if (!escaped.contains('&'))
            return m_texts.Make(escaped);
        if (UnescapeMarkupToCodePage(escaped, m_unescaped))
            return m_texts.Make(QByteArrayView(m_unescaped.data(), qsizetype(m_unescaped.size())));
        // A reference to a character the code page lacks.
        return ColumnValue(UnescapeMarkup(DecodeWindows1252(escaped)));
    }

private:
    PackedTexts m_texts;
    std::string m_unescaped;
};

class TextValues
{
public:
    ColumnValue Make(QStringView escaped) { return ColumnValue(UnescapeMarkup(escaped)); }
};

// --- reading ---------------------------------------------------------------

// The column keys read so far, by their name as written: the records of a
// document share a few dozen keys, each found in the key table once.
template <typename Ch>
class KeyCache
{
public:
    explicit KeyCache(ColumnKeyTable& table) : m_table(table) {}

    quint32 Key(std::basic_string_view<Ch> raw, std::basic_string_view<Ch> name)
    {
        // Records mostly list their columns in the order of the one before,
        // so the key after the last one found is tried first.
        if (m_next < m_keys.size() && m_keys[m_next].raw == raw)
            return m_keys[m_next++].key;
        for (size_t i = 0; i < m_keys.size(); ++i) {
            if (m_keys[i].raw == raw) {
                m_next = i + 1;
                return m_keys[i].key;
            }
        }
        const quint32 key = m_table.Add(UnescapeMarkup(ToText(name.data(), qsizetype(name.size()))));
        if (m_keys.size() < MaxKeys) {
            m_keys.push_back({std::basic_string<Ch>(raw), key});
            m_next = m_keys.size();
        }
        return key;
    }

private:
    static constexpr size_t MaxKeys = 64;
    struct Cached
    {
        std::basic_string<Ch> raw;
        quint32 key;
    };
    ColumnKeyTable& m_table;
    std::vector<Cached> m_keys;
    size_t m_next = 0;
};

template <typename Ch, typename Values>
class MarkupReader
{
public:
    MarkupReader(const Ch* text, qsizetype size, const NextIDFunction& nextID)
        : m_text(text), m_size(size), NextID(nextID)
    {
    }

    // Reads the record whose start tag, beginning at start, ends just before
    // pos, and leaves pos just after its end tag.
    void ReadRecord(clsDictionary<ColumnValue>& spalten, clsDictionary<AdresseRef>& adressen, const RecordKind& kind,
                    qsizetype start, qsizetype& pos)
    {
        ColumnKeys& rootKeys = spalten.StoredKeys();
        if (!rootKeys.table)
            rootKeys.table = std::make_shared<ColumnKeyTable>();
        m_table = rootKeys.table;
        m_nodeKey = m_table->Add(NodeKey);
        KeyCache<Ch> keys(*m_table);
        spalten.AssignStored(m_nodeKey, ColumnValue(NextID()));

        std::vector<OpenRecord> open{{&spalten, &adressen, nullptr, &kind, start}};
        qsizetype lastColumnCount = 1;
        std::basic_string<Ch> stripped;
        for (;;) {
            const qsizetype lt = FindChar(m_text, m_size, pos, '<');
            if (lt < 0)
                ThrowEndOfText(*open.back().kind, open.back().start);
            const qsizetype gt = FindChar(m_text, m_size, lt + 1, '>');
            if (gt < 0)
                ThrowUnclosedTag(lt);
            const std::basic_string_view<Ch> raw(m_text + lt + 1, size_t(gt - lt - 1));
            std::basic_string_view<Ch> name = raw;
            if (std::find_if(raw.begin(), raw.end(), IsLineBreak<Ch>) != raw.end()) {
                stripped.assign(raw);
                std::erase_if(stripped, IsLineBreak<Ch>);
                name = stripped;
            }
            pos = gt + 1;

            if (Is(name, open.back().kind->endTag)) {
                if (open.size() == 1)
                    return;
                const AdresseRef finished = std::move(open.back().adresse);
                open.pop_back();
                lastColumnCount = finished->m_dicSpalten.Count();
                AddSubRecord(*open.back().adressen, finished);
            } else if (Is(name, "Adresse")) {
                auto adresse = std::allocate_shared<clsAdresse>(ArenaAllocator<clsAdresse>(m_memory), m_memory.get());
                adresse->m_dicSpalten.StoredKeys().table = m_table;
                // Addresses mostly have the columns of the one before.
                adresse->m_dicSpalten.Reserve(lastColumnCount);
                adresse->m_dicSpalten.AssignStored(m_nodeKey, ColumnValue(NextID()));
                open.push_back({&adresse->m_dicSpalten, &adresse->m_dicAdressen, adresse, &Address, lt});
            } else if (!name.empty() && name.front() == '/') {
                ThrowUnexpectedEndTag(ToText(name.data(), qsizetype(name.size())), lt, *open.back().kind);
            } else {
                ReadColumn(raw, name, lt, pos, *open.back().spalten, keys);
            }
        }
    }

private:
    struct OpenRecord
    {
        clsDictionary<ColumnValue>* spalten;
        clsDictionary<AdresseRef>* adressen;
        AdresseRef adresse; // null for the record the read started with
        const RecordKind* kind;
        qsizetype start; // of its start tag, for messages
    };

    // Reads one column element whose start tag at open ends just before pos
    // and assigns it; leaves pos just after its end tag. A "<" inside the
    // value ends the value; the text up to the end tag is skipped.
    void ReadColumn(std::basic_string_view<Ch> raw, std::basic_string_view<Ch> name, qsizetype open, qsizetype& pos,
                    clsDictionary<ColumnValue>& spalten, KeyCache<Ch>& keys)
    {
        const qsizetype valueEnd = FindChar(m_text, m_size, pos, '<');
        qsizetype endTag = valueEnd;
        qsizetype close = -1;
        while (endTag >= 0 && (close = MatchTag(m_text, m_size, endTag, true, name.data(), qsizetype(name.size()))) < 0) {
            // Past a record's tag the skip would take whole addresses with
            // it: the end tag is lost, the file damaged.
            if (IsRecordTag(endTag))
                ThrowDamaged(name, open, endTag);
            endTag = FindChar(m_text, m_size, endTag + 1, '<');
        }
        if (close < 0)
            ThrowUnclosedColumn(ToText(name.data(), qsizetype(name.size())), open);
        spalten.AssignStored(keys.Key(raw, name), m_values.Make({m_text + pos, valueEnd - pos}));
        pos = close + 1;
    }

    bool IsRecordTag(qsizetype at) const
    {
        return MatchTag(m_text, m_size, at, false, "Adresse", 7) >= 0 || MatchTag(m_text, m_size, at, true, "Adresse", 7) >= 0
               || MatchTag(m_text, m_size, at, true, "Firma", 5) >= 0;
    }

    [[noreturn]] void ThrowDamaged(std::basic_string_view<Ch> rawName, qsizetype open, qsizetype recordTag) const
    {
        const QString name = ToText(rawName.data(), qsizetype(rawName.size()));
        // An element of a form the reader does not know has no end tag either.
        if (name.endsWith(QLatin1Char('/')) || name.contains(QLatin1Char('=')))
            ThrowUnclosedColumn(name, open);
        const auto line = [this](qsizetype at) {
            return QString::number(std::count(m_text, m_text + at, Ch('\n')) + 1);
        };
        const qsizetype tagEnd = FindChar(m_text, m_size, recordTag, '>');
        QString tag = ToText(m_text + recordTag, tagEnd - recordTag + 1);
        tag.remove(QLatin1Char('\r'));
        tag.remove(QLatin1Char('\n'));
        throw Failure(QStringLiteral("Die Datei ist in Zeile %1 beschädigt: Zu dem Element <%2> fehlt das Ende-Tag </%2> "
                                     "vor %3 in Zeile %4.")
                          .arg(line(open), name, tag, line(recordTag)));
    }

    void AddSubRecord(clsDictionary<AdresseRef>& adressen, const AdresseRef& adresse) const
    {
        const clsDictionary<ColumnValue>& spalten = adresse->m_dicSpalten;
        const ColumnValue& number = spalten.ValueAt(spalten.IndexOfStored(m_nodeKey));
        if (number.IsNumber())
            adressen.AddStored(number.Number(), adresse);
        else
            adressen.Add(number.Text(), adresse);
    }

    const Ch* m_text;
    qsizetype m_size;
    // The addresses read and their columns, which die together.
    const std::shared_ptr<MemoryArena> m_memory = std::make_shared<MemoryArena>();
    Values m_values;
    std::shared_ptr<ColumnKeyTable> m_table;
    quint32 m_nodeKey = 0;
    const NextIDFunction& NextID;
};

// Positions in messages and in the read position are 32-bit.
void CheckSize(qsizetype size)
{
    if (size >= std::numeric_limits<qint32>::max())
        throw Failure::Overflow();
}

template <typename Ch, typename Values>
void ReadCompany(clsFirma& firma, const Ch* text, qsizetype size, const NextIDFunction& NextID)
{
    CheckSize(size);
    qsizetype start = FindChar(text, size, 0, '<');
    qsizetype close = -1;
    while (start >= 0 && (close = MatchTag(text, size, start, false, "Firma", 5)) < 0)
        start = FindChar(text, size, start + 1, '<');
    if (close < 0)
        throw Failure(QStringLiteral("Die Datei enthält kein Element <Firma>."));
    qsizetype pos = close + 1;
    MarkupReader<Ch, Values>(text, size, NextID).ReadRecord(firma.m_dicSpalten, firma.m_dicAdressen, Company, start, pos);
}

// --- writing -----------------------------------------------------------------

// Writes into the document code page, escaping each column key once for all
// the records that share its key table and copying values kept in the code
// page as they are, escaped on the way.
class ByteSink
{
public:
    explicit ByteSink(ByteOutput& out) : m_out(out), m_buffer(BufferSize) {}

    void Literal(std::string_view text)
    {
        Put(Room(qsizetype(text.size())), text);
        if (m_size >= BufferSize)
            Flush();
    }

    void Columns(const clsDictionary<ColumnValue>& spalten)
    {
        const ColumnKeyTable* table = spalten.StoredKeys().table.get();
        if (table != m_table) {
            m_table = table;
            m_tags.clear();
        }
        for (qsizetype i = 0; i < spalten.Count(); ++i) {
            const quint32 key = spalten.StoredKeyAt(i);
            if (key >= m_tags.size())
                m_tags.resize(table->Count());
            Tags& tags = m_tags[key];
            if (!tags.made)
                tags = MakeTags(table->Name(key));
            if (tags.skip)
                continue;
            const ColumnValue& value = spalten.ValueAt(i);
            const std::string_view open(tags.open), close(tags.close);
            const qsizetype tagsSize = qsizetype(open.size() + close.size());
            if (value.IsCodePageText()) {
                const QByteArrayView text = value.CodePageText();
                Put(WriteEscapedMarkupText(Put(Room(tagsSize + 5 * text.size()), open), text), close);
            } else {
                const QByteArray text = EncodeWindows1252(EscapeMarkupText(value.Text()));
                Put(Put(Put(Room(tagsSize + text.size()), open), text.toStdString()), close);
            }
        }
        if (m_size >= BufferSize)
            Flush();
    }

    void Flush()
    {
        m_out.Write(QByteArrayView(m_buffer.data(), m_size));
        m_size = 0;
    }

private:
    static constexpr qsizetype BufferSize = 1 << 20;

    struct Tags
    {
        std::string open, close; // "<key>" and "</key> " CR LF
        bool skip = false;       // the record number, never written
        bool made = false;
    };

    static Tags MakeTags(const QString& key)
    {
        const QByteArray name = EncodeWindows1252(EscapeMarkupName(key));
        return {'<' + name.toStdString() + '>', "</" + name.toStdString() + "> \r\n", key == NodeKey, true};
    }

    // Where the next size bytes go.
    char* Room(qsizetype size)
    {
        if (m_size + size > qsizetype(m_buffer.size())) {
            Flush();
            if (size > qsizetype(m_buffer.size()))
                m_buffer.resize(size_t(size));
        }
        return m_buffer.data() + m_size;
    }

    // Writes text at to, in the room given, and moves m_size past it.
    char* Put(char* to, std::string_view text)
    {
        to = std::copy(text.begin(), text.end(), to);
        m_size = to - m_buffer.data();
        return to;
    }

    ByteOutput& m_out;
    std::vector<char> m_buffer;
    qsizetype m_size = 0;
    const ColumnKeyTable* m_table = nullptr;
    std::vector<Tags> m_tags;
};

class TextSink
{
public:
    explicit TextSink(QString& text) : m_text(text) {}

    void Literal(std::string_view text) { m_text += QLatin1StringView(text.data(), qsizetype(text.size())); }

    void Columns(const clsDictionary<ColumnValue>& spalten)
    {
        for (const auto& [key, value] : spalten) {
            if (key == NodeKey)
                continue;
            const QString name = EscapeMarkupName(key);
            m_text += QLatin1Char('<') + name + QLatin1Char('>') + EscapeMarkupText(value.Text()) + QStringLiteral("</")
                      + name + QStringLiteral("> \r\n");
        }
    }

private:
    QString& m_text;
};

template <typename Sink>
void WriteAddress(Sink& out, const clsAdresse& adresse)
{
    struct Pending
    {
        const clsAdresse* record;
        qsizetype next; // sub-record
    };
    const auto startBlock = [&out](const clsAdresse& record) {
        out.Literal("<Adresse> \r\n");
        out.Columns(record.m_dicSpalten);
        return Pending{&record, 0};
    };
    std::vector<Pending> pending{startBlock(adresse)};
    while (!pending.empty()) {
        Pending& top = pending.back();
        if (top.next < top.record->m_dicAdressen.Count()) {
            const clsAdresse& child = *top.record->m_dicAdressen.ValueAt(top.next++);
            pending.push_back(startBlock(child));
        } else {
            out.Literal("</Adresse> \r\n");
            pending.pop_back();
        }
    }
}

template <typename Sink>
void WriteCompany(Sink& out, const clsFirma& firma)
{
    out.Literal("<Firma> \r\n");
    out.Columns(firma.m_dicSpalten);
    for (qsizetype i = 0; i < firma.m_dicAdressen.Count(); ++i)
        WriteAddress(out, *firma.m_dicAdressen.ValueAt(i));
    out.Literal("</Firma> ");
}

}

void ReadCompanyMarkup(clsFirma& firma, QStringView text, const NextIDFunction& NextID)
{
    ReadCompany<char16_t, TextValues>(firma, text.utf16(), text.size(), NextID);
}

void ReadCompanyMarkup(clsFirma& firma, QByteArrayView codePageBytes, const NextIDFunction& NextID)
{
    ReadCompany<char, CodePageValues>(firma, codePageBytes.data(), codePageBytes.size(), NextID);
}

void ReadAddressMarkup(clsAdresse& adresse, QStringView text, qint32& intPos, const NextIDFunction& NextID)
{
    CheckSize(text.size());
    if (intPos < 1)
        throw Failure::InvalidArgument();
    // The address's own start tag ends just before intPos.
    const qsizetype start = intPos - 1 - qsizetype(Address.startTag.size());
    qsizetype pos = std::min<qsizetype>(intPos - 1, text.size());
    MarkupReader<char16_t, TextValues>(text.utf16(), text.size(), NextID)
        .ReadRecord(adresse.m_dicSpalten, adresse.m_dicAdressen, Address, start, pos);
    intPos = qint32(pos + 1);
}

void WriteCompanyMarkup(ByteOutput& out, const clsFirma& firma)
{
    ByteSink sink(out);
    WriteCompany(sink, firma);
    sink.Flush();
}

QString CompanyMarkupText(const clsFirma& firma)
{
    QString text;
    TextSink sink(text);
    WriteCompany(sink, firma);
    return text;
}

void AppendAddressMarkupText(QString& strXML, const clsAdresse& adresse)
{
    TextSink sink(strXML);
    WriteAddress(sink, adresse);
}
