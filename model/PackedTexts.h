#pragma once

#include "model/ColumnValue.h"
#include "platform/Memory.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <span>
#include <utility>
#include <vector>

// A text kept by PackedTexts: a place in one of its blocks, valid while they
// live. It holds no count of its own; a value made from it does.
struct TextSlice
{
    TextBlock* block = nullptr; // none for the empty text
    quint32 offset = 0;
    quint32 size = 0;

    bool IsEmpty() const { return size == 0; }
    bool IsCodePageText() const { return !block || block->encoding == TextBlock::Encoding::CodePage; }
    QByteArrayView CodePageText() const
    {
        return block ? QByteArrayView(block->Bytes() + offset, size) : QByteArrayView();
    }
    QStringView Utf16Text() const { return QStringView(block->Units() + offset, size); }
    QString Text() const;
    ColumnValue Value() const { return ColumnValue(block, offset, size); }
};

// Many short texts packed into shared blocks, a few allocations for
// thousands of them, as the document reader and the contact sources keep
// them. Texts the document code page can hold are kept in it, others as
// UTF-16. The blocks stay while the packer lives, and as long after as a
// value made from them does.
class PackedTexts
{
public:
    PackedTexts() = default;
    PackedTexts(PackedTexts&& other) noexcept;
    PackedTexts& operator=(PackedTexts&& other) noexcept;
    PackedTexts(const PackedTexts&) = delete;
    PackedTexts& operator=(const PackedTexts&) = delete;
    ~PackedTexts() { Release(); }

    // Texts kept one after the other: all in the code page, or all as UTF-16
    // when one of them does not fit it. The slice of the whole run.
    TextSlice KeepTogether(std::span<const QByteArrayView> codePageTexts);
    TextSlice KeepTogether(std::span<const QStringView> texts);
    // A value of the text that is counted with the others made here when
    // the packer is dropped, rather than one at a time.
    ColumnValue Make(QByteArrayView codePageText)
    {
        // Mostly a short text that fits the block being filled: a loop
        // copies it faster than a call would.
        Filling& filling = m_filling[size_t(TextBlock::Encoding::CodePage)];
        const qsizetype size = codePageText.size();
        if (filling.held == size_t(-1) || size == 0 || size > LongText)
            return MakeElsewhere(codePageText);
        Held& held = m_held[filling.held];
        if (filling.used + size > held.block->capacity)
            return MakeElsewhere(codePageText);
        char* to = held.block->Bytes() + filling.used;
        for (qsizetype i = 0; i < size; ++i)
            to[i] = codePageText[i];
        ++held.made;
        const qsizetype offset = std::exchange(filling.used, filling.used + size);
        return ColumnValue::Adopt(held.block, offset, size);
    }

private:
    // Blocks grow from the first size to the largest, so that a few texts
    // take little and millions few blocks; a longer text gets a block of
    // its own.
    static constexpr qsizetype FirstBlockBytes = qsizetype(64) << 10;
    static constexpr qsizetype LargestBlockBytes = qsizetype(HugePageSize);
    static constexpr qsizetype LongText = 16 * 1024;
    // Counted for a block while the packer holds it: more than it can hold
    // values.
    static constexpr qsizetype Reserved = qsizetype(1) << 40;

    struct Held
    {
        TextBlock* block;
        qsizetype made; // values made by Make
    };
    struct Filling
    {
        size_t held = size_t(-1); // the block being filled, if any
        qsizetype used = 0;
    };

    // Room for size units of the encoding; sets m_last to the block's place.
    TextSlice Room(TextBlock::Encoding encoding, qsizetype size);
    TextSlice Keep(QByteArrayView codePageText);
    ColumnValue MakeElsewhere(QByteArrayView codePageText);
    // Takes back the room of the latest text, where it can.
    void GiveBack(const TextSlice& slice);
    void Release();

    std::vector<Held> m_held;
    Filling m_filling[2]; // by encoding
    size_t m_last = 0;    // the block of the latest text
    qsizetype m_blockBytes = FirstBlockBytes; // of the next block to fill
};
