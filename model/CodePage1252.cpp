#include "model/CodePage1252.h"

#include <algorithm>

namespace {

// 0x80-0x9F; the undefined bytes map to the C1 control of the same number.
constexpr char16_t HighHalf[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}

char16_t Windows1252Char(char byte)
{
    const uchar unit = uchar(byte);
    return unit - 0x80u < 0x20u ? HighHalf[unit - 0x80] : char16_t(unit);
}

int Windows1252Byte(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (HighHalf[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

bool FitsWindows1252(QStringView text)
{
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit >= 0x80 && (unit < 0xA0 || unit > 0xFF) && Windows1252Byte(unit) < 0)
            return false;
    }
    return true;
}

void EncodeWindows1252Into(QStringView text, char* out)
{
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        *out++ = char(unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF) ? unit : Windows1252Byte(unit));
    }
}

QString DecodeWindows1252(QByteArrayView bytes)
{
    // Latin-1 first, which Qt converts fast; then the few characters where
    // Windows-1252 differs, if the bytes hold any.
    QString text = QString::fromLatin1(bytes);
    bool differs = false;
    for (const char byte : bytes)
        differs |= uchar(byte) - 0x80u < 0x20u;
    if (differs) {
        for (QChar& ch : text) {
            if (ch.unicode() - 0x80u < 0x20u)
                ch = QChar(HighHalf[ch.unicode() - 0x80]);
        }
    }
    return text;
}

QByteArray EncodeWindows1252(QStringView text)
{
    QByteArray out;
    AppendWindows1252(out, text);
    return out;
}

void AppendWindows1252(QByteArray& out, QStringView text)
{
    // One byte a character, except for the rare character references. The
    // buffer grows geometrically, so appending piece by piece stays linear.
    const auto makeRoom = [&out](qsizetype needed) {
        if (needed > out.capacity())
            out.reserve(std::max(needed, out.capacity() + out.capacity() / 2));
    };
    qsizetype written = out.size();
    const qsizetype size = text.size();
    makeRoom(written + size);
    out.resize(written + size);
    char* data = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            data[written++] = char(unit);
            continue;
        }
        char32_t ch = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(unit, text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            ch = 0xFFFD;
        }
        const int byte = Windows1252Byte(ch);
        if (byte >= 0) {
            data[written++] = char(byte);
            continue;
        }
        const QByteArray reference = "&#" + QByteArray::number(uint(ch)) + ';';
        // Room for the reference and for every character still to come.
        const qsizetype needed = written + reference.size() + (size - i - 1);
        if (needed > out.size()) {
            makeRoom(needed);
            out.resize(needed);
            data = out.data();
        }
        std::copy(reference.begin(), reference.end(), data + written);
        written += reference.size();
    }
    if (written != out.size())
        out.truncate(written);
}
