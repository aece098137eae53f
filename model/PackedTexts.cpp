#include "model/PackedTexts.h"

#include "model/CodePage1252.h"

#include <algorithm>
#include <cstring>
#include <utility>

QString TextSlice::Text() const
{
    if (!block)
        return QString();
    return IsCodePageText() ? DecodeWindows1252(CodePageText()) : Utf16Text().toString();
}

PackedTexts::PackedTexts(PackedTexts&& other) noexcept
    : m_held(std::exchange(other.m_held, {})), m_last(other.m_last), m_blockBytes(other.m_blockBytes)
{
    std::copy(std::begin(other.m_filling), std::end(other.m_filling), std::begin(m_filling));
    std::fill(std::begin(other.m_filling), std::end(other.m_filling), Filling());
}

PackedTexts& PackedTexts::operator=(PackedTexts&& other) noexcept
{
    if (this != &other) {
        Release();
        m_held = std::exchange(other.m_held, {});
        m_last = other.m_last;
        m_blockBytes = other.m_blockBytes;
        std::copy(std::begin(other.m_filling), std::end(other.m_filling), std::begin(m_filling));
        std::fill(std::begin(other.m_filling), std::end(other.m_filling), Filling());
    }
    return *this;
}

void PackedTexts::Release()
{
    for (const Held& held : m_held)
        held.block->Release(Reserved - held.made);
    m_held.clear();
    std::fill(std::begin(m_filling), std::end(m_filling), Filling());
}

TextSlice PackedTexts::Room(TextBlock::Encoding encoding, qsizetype size)
{
    const auto hold = [&](qsizetype capacity) {
        TextBlock* block = TextBlock::Create(encoding, capacity);
        block->refs = Reserved;
        m_held.push_back({block, 0});
        return m_held.size() - 1;
    };
    // A long text gets a block of its own, so that little room is wasted.
    if (size > LongText) {
        m_last = hold(size);
        return {m_held[m_last].block, 0, quint32(size)};
    }
    Filling& filling = m_filling[size_t(encoding)];
    if (filling.held == size_t(-1) || filling.used + size > m_held[filling.held].block->capacity) {
        const qsizetype unit = encoding == TextBlock::Encoding::Utf16 ? 2 : 1;
        filling.held = hold((m_blockBytes - qsizetype(sizeof(TextBlock))) / unit);
        filling.used = 0;
        m_blockBytes = std::min(m_blockBytes * 2, LargestBlockBytes);
    }
    m_last = filling.held;
    const qsizetype offset = std::exchange(filling.used, filling.used + size);
    return {m_held[m_last].block, quint32(offset), quint32(size)};
}

void PackedTexts::GiveBack(const TextSlice& slice)
{
    Filling& filling = m_filling[size_t(slice.block->encoding)];
    if (filling.held != size_t(-1) && m_held[filling.held].block == slice.block) {
        if (filling.used == qsizetype(slice.offset + slice.size))
            filling.used = slice.offset;
    } else if (m_held.back().block == slice.block && m_held.back().made == 0) {
        // A block of its own.
        slice.block->Release(Reserved);
        m_held.pop_back();
    }
}

TextSlice PackedTexts::Keep(QByteArrayView codePageText)
{
    if (codePageText.isEmpty())
        return {};
    const TextSlice slice = Room(TextBlock::Encoding::CodePage, codePageText.size());
    std::memcpy(slice.block->Bytes() + slice.offset, codePageText.data(), size_t(slice.size));
    return slice;
}

TextSlice PackedTexts::KeepTogether(std::span<const QByteArrayView> codePageTexts)
{
    qsizetype total = 0;
    for (const QByteArrayView text : codePageTexts)
        total += text.size();
    if (total == 0)
        return {};
    const TextSlice run = Room(TextBlock::Encoding::CodePage, total);
    char* out = run.block->Bytes() + run.offset;
    for (const QByteArrayView text : codePageTexts) {
        // Mostly a few bytes: copied eight at a time, then one by one,
        // faster than a call would.
        const char* from = text.data();
        qsizetype i = 0;
        for (; i + 8 <= text.size(); i += 8)
            std::memcpy(out + i, from + i, 8);
        for (; i < text.size(); ++i)
            out[i] = from[i];
        out += text.size();
    }
    return run;
}

TextSlice PackedTexts::KeepTogether(std::span<const QStringView> texts)
{
    qsizetype total = 0;
    for (const QStringView text : texts)
        total += text.size();
    if (total == 0)
        return {};
    // Mostly ASCII: copied in one pass, and only otherwise looked at again.
    const TextSlice run = Room(TextBlock::Encoding::CodePage, total);
    char* out = run.block->Bytes() + run.offset;
    bool fits = true;
    for (const QStringView text : texts) {
        qsizetype i = 0;
        while (i < text.size() && text[i].unicode() < 0x80) {
            out[i] = char(text[i].unicode());
            ++i;
        }
        if (i < text.size()) {
            fits = FitsWindows1252(text.sliced(i));
            if (!fits)
                break;
            EncodeWindows1252Into(text.sliced(i), out + i);
        }
        out += text.size();
    }
    if (fits)
        return run;
    GiveBack(run);
    const TextSlice utf16 = Room(TextBlock::Encoding::Utf16, total);
    char16_t* units = utf16.block->Units() + utf16.offset;
    for (const QStringView text : texts)
        units = std::copy_n(text.utf16(), text.size(), units);
    return utf16;
}

ColumnValue PackedTexts::MakeElsewhere(QByteArrayView codePageText)
{
    const TextSlice slice = Keep(codePageText);
    if (slice.IsEmpty())
        return ColumnValue();
    ++m_held[m_last].made;
    return ColumnValue::Adopt(slice.block, slice.offset, slice.size);
}
