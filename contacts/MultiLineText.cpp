#include "contacts/MultiLineText.h"

namespace {

template <typename String, typename View>
void AppendWithCrLf(String& out, View text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = text[i];
        if (c != u'\r' && c != u'\n') {
            out += c;
            continue;
        }
        out += "\r\n";
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
    }
}

template <typename String, typename View>
void AppendLines(std::initializer_list<View> lines, String& out)
{
    for (const View line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        if (out.size() > 0)
            out += "\r\n";
        out.append(line.data(), line.size());
    }
}

}

QString WithCrLfLineBreaks(QString text)
{
    qsizetype bare = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            ++bare;
        else if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            ++bare;
    }
    if (bare == 0)
        return text;
    QString out;
    out.reserve(text.size() + bare);
    AppendWithCrLf(out, QStringView(text));
    return out;
}

void AppendWithCrLfLineBreaks(std::string& out, QByteArrayView text)
{
    AppendWithCrLf(out, text);
}

void AppendStreetLines(std::initializer_list<QStringView> lines, QString& out)
{
    AppendLines(lines, out);
}

void AppendStreetLines(std::initializer_list<QByteArrayView> lines, std::string& out)
{
    AppendLines(lines, out);
}
