#include "model/ColumnValue.h"

#include "model/CodePage1252.h"
#include "platform/Memory.h"

#include <algorithm>
#include <new>

namespace {

size_t BytesOf(TextBlock::Encoding encoding, qsizetype capacity)
{
    return sizeof(TextBlock) + size_t(capacity) * (encoding == TextBlock::Encoding::Utf16 ? sizeof(char16_t) : 1);
}

}

TextBlock* TextBlock::Create(Encoding encoding, qsizetype capacity)
{
    const size_t bytes = BytesOf(encoding, capacity);
    // The largest blocks texts are packed into.
    const bool fromPages = bytes >= HugePageSize;
    void* memory = fromPages ? TakePages(bytes) : ::operator new(bytes);
    return new (memory) TextBlock{0, capacity, encoding, fromPages};
}

void TextBlock::Destroy(TextBlock* block)
{
    const size_t bytes = BytesOf(block->encoding, block->capacity);
    const bool fromPages = block->fromPages;
    block->~TextBlock();
    if (fromPages)
        GivePagesBack(block, bytes);
    else
        ::operator delete(block);
}

ColumnValue::ColumnValue(const QString& text)
{
    if (text.isEmpty())
        return;
    const qsizetype size = text.size();
    TextBlock* block = nullptr;
    if (FitsWindows1252(text)) {
        block = TextBlock::Create(TextBlock::Encoding::CodePage, size);
        EncodeWindows1252Into(text, block->Bytes());
    } else {
        block = TextBlock::Create(TextBlock::Encoding::Utf16, size);
        std::copy_n(text.utf16(), size, block->Units());
    }
    *this = ColumnValue(block, 0, size);
}

QString ColumnValue::Text() const
{
    if (IsNumber())
        return QString::number(Number());
    if (!m_block)
        return QString();
    if (m_block->encoding == TextBlock::Encoding::Utf16)
        return Utf16Text().toString();
    return DecodeWindows1252(CodePageText());
}

bool operator==(const ColumnValue& a, const ColumnValue& b)
{
    if (a.IsNumber() || b.IsNumber())
        return a.IsNumber() && b.IsNumber() && a.Number() == b.Number();
    if (a.IsCodePageText() && b.IsCodePageText())
        return a.CodePageText() == b.CodePageText();
    return a.Text() == b.Text();
}
