#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <utility>

// Immutable storage for column texts, counted by the values that refer to
// it. One block holds the values of many records read from one file, so a
// document's millions of values cost no allocation each; a text given as a
// QString gets a block of its own.
//
// The count is a plain number: values are made, copied and dropped on the
// user-interface thread only, as the records that hold them are, and an
// atomic count would cost an import of many contacts a tenth of its time.
struct TextBlock
{
    enum class Encoding : quint8 { CodePage, Utf16 };

    qsizetype refs;
    qsizetype capacity; // in units of the encoding
    Encoding encoding;
    bool fromPages; // see TakePages

    static TextBlock* Create(Encoding encoding, qsizetype capacity);
    void Release(qsizetype count = 1)
    {
        refs -= count;
        if (refs == 0)
            Destroy(this);
    }
    char* Bytes() { return reinterpret_cast<char*>(this + 1); }
    char16_t* Units() { return reinterpret_cast<char16_t*>(this + 1); }

private:
    static void Destroy(TextBlock* block);
};

// A column's value: text, or the record number (a signed 32-bit integer)
// that the column "Node" holds. A default value is the empty text. Texts the
// Windows-1252 code page of document files can hold are kept in it, one byte
// a character; others as UTF-16.
class ColumnValue
{
public:
    ColumnValue() = default;
    ColumnValue(const QString& text);
    ColumnValue(const char*) = delete; // say QStringLiteral, not a byte string
    ColumnValue(qint32 number) : m_offset(quint32(number)), m_size(NumberMark) {}
    // Refers to size units at offset in block, which must stay unchanged.
    ColumnValue(TextBlock* block, qsizetype offset, qsizetype size)
        : m_block(size > 0 ? block : nullptr), m_offset(quint32(offset)), m_size(quint32(size))
    {
        if (m_block)
            ++m_block->refs;
    }
    // The same, taking over a reference to block that the caller counted
    // for it already.
    static ColumnValue Adopt(TextBlock* block, qsizetype offset, qsizetype size)
    {
        ColumnValue value;
        value.m_block = block;
        value.m_offset = quint32(offset);
        value.m_size = quint32(size);
        return value;
    }

    ColumnValue(const ColumnValue& other) : m_block(other.m_block), m_offset(other.m_offset), m_size(other.m_size)
    {
        if (m_block)
            ++m_block->refs;
    }
    ColumnValue(ColumnValue&& other) noexcept
        : m_block(std::exchange(other.m_block, nullptr)), m_offset(other.m_offset), m_size(std::exchange(other.m_size, 0))
    {
    }
    ColumnValue& operator=(const ColumnValue& other)
    {
        ColumnValue copy(other);
        Swap(copy);
        return *this;
    }
    ColumnValue& operator=(ColumnValue&& other) noexcept
    {
        ColumnValue taken(std::move(other));
        Swap(taken);
        return *this;
    }
    ~ColumnValue()
    {
        if (m_block)
            m_block->Release();
    }

    bool IsNumber() const { return !m_block && m_size == NumberMark; }
    bool IsEmptyText() const { return !m_block && m_size == 0; }
    qint32 Number() const { return qint32(m_offset); }
    QString Text() const;

    // The text in the document code page, for a text kept so (the empty text
    // included); IsCodePageText() tells.
    bool IsCodePageText() const { return m_block ? m_block->encoding == TextBlock::Encoding::CodePage : !IsNumber(); }
    QByteArrayView CodePageText() const
    {
        return m_block ? QByteArrayView(m_block->Bytes() + m_offset, m_size) : QByteArrayView();
    }

    friend bool operator==(const ColumnValue& a, const ColumnValue& b);

private:
    static constexpr quint32 NumberMark = 0xFFFFFFFF;

    void Swap(ColumnValue& other) noexcept
    {
        std::swap(m_block, other.m_block);
        std::swap(m_offset, other.m_offset);
        std::swap(m_size, other.m_size);
    }
    QStringView Utf16Text() const { return QStringView(m_block->Units() + m_offset, m_size); }

    TextBlock* m_block = nullptr; // none for the empty text and for a number
    quint32 m_offset = 0;         // the number, for a number
    quint32 m_size = 0;           // NumberMark for a number
};
