#pragma once

#include <QtEndian>
#include <QtGlobal>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The readers of contact files look for a few kinds of byte over and over:
// they look at many bytes at once.

namespace ByteSearch {

// Eight bytes at a time: a mask with the high bit set in each byte of the
// word that equals c. Only the lowest marked byte is sure to be one (a
// borrow may mark a byte above it), which is the one looked for.
constexpr quint64 EveryByte = 0x0101010101010101;

inline quint64 BytesEqual(quint64 word, char c)
{
    const quint64 x = word ^ (EveryByte * uchar(c));
    return (x - EveryByte) & ~x & (EveryByte << 7);
}

inline quint64 WordAt(const char* data)
{
    quint64 word;
    std::memcpy(&word, data, sizeof word);
    return qFromLittleEndian(word);
}

}

// The position of the first byte at or after from that is one of cs, or size.
template <typename... Chars>
Q_ALWAYS_INLINE qsizetype FindFirstOf(const char* data, qsizetype from, qsizetype size, Chars... cs)
{
    qsizetype i = from;
#ifdef __SSE2__
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const int found = _mm_movemask_epi8((_mm_cmpeq_epi8(block, _mm_set1_epi8(cs)) | ...));
        if (found)
            return i + qCountTrailingZeroBits(uint(found));
    }
#endif
    for (; i + 8 <= size; i += 8) {
        const quint64 word = ByteSearch::WordAt(data + i);
        if (const quint64 found = (ByteSearch::BytesEqual(word, cs) | ...))
            return i + qCountTrailingZeroBits(found) / 8;
    }
    for (; i < size; ++i) {
        if (((data[i] == cs) || ...))
            return i;
    }
    return size;
}
