#include "model/DocumentMarkup.h"

#include "model/Failure.h"
#include "model/MarkupEscaping.h"
#include "model/MarkupText.h"
#include "model/NextID.h"
#include "model/clsFirma.h"

#include <vector>

namespace {

const QString NodeKey = QStringLiteral("Node");
const QString AdresseTag = QStringLiteral("Adresse");
const QString AdresseEndTag = QStringLiteral("/Adresse");

struct OpenRecord
{
    RecordParts parts;
    AdresseRef adresse; // null for the record the read started with
    QStringView endTag;
    qint32 startPos; // of its start tag, for messages
};

QString StartTagText(const OpenRecord& record)
{
    return QLatin1Char('<') + record.endTag.mid(1).toString() + QLatin1Char('>');
}

// Texts from the file go into messages in one pass, so that a "%1" in a
// tag name stays as it is.
QString Position(qint32 pos)
{
    return QString::number(pos);
}

[[noreturn]] void ThrowUnclosedTag(qint32 openPos)
{
    throw Failure(QStringLiteral("Das Tag an Zeichen %1 wird nicht mit \">\" geschlossen.").arg(openPos));
}

[[noreturn]] void ThrowEndOfText(const OpenRecord& record)
{
    throw Failure(QStringLiteral("Die Datei endet zu früh: Zu dem Element %1 an Zeichen %2 fehlt das Ende-Tag <%3>.")
                      .arg(StartTagText(record), Position(record.startPos), record.endTag.toString()));
}

[[noreturn]] void ThrowUnexpectedEndTag(QStringView name, qint32 openPos, const OpenRecord& record)
{
    throw Failure(QStringLiteral("Unerwartetes Ende-Tag <%1> an Zeichen %2; erwartet wird <%3>.")
                      .arg(name.toString(), Position(openPos), record.endTag.toString()));
}

[[noreturn]] void ThrowUnclosedColumn(QStringView rawName, qint32 openPos)
{
    const QString name = rawName.toString();
    if (name.endsWith(QLatin1Char('/')))
        throw Failure(QStringLiteral("Das leere Element <%1> an Zeichen %2 wird nicht unterstützt.")
                          .arg(name, Position(openPos)));
    if (name.contains(QLatin1Char('=')))
        throw Failure(QStringLiteral("Das Element <%1> an Zeichen %2 hat Attribute; sie werden nicht unterstützt.")
                          .arg(name, Position(openPos)));
    throw Failure(QStringLiteral("Zu dem Element <%1> an Zeichen %2 fehlt das Ende-Tag </%1>.").arg(name, Position(openPos)));
}

// The column keys read so far: the records of a document share a few
// dozen keys, so each is made once and shared, not once per record.
class KeyCache
{
public:
    const QString& Key(QStringView name)
    {
        // Records mostly list their columns in the order of the one before,
        // so the key after the last one found is tried first.
        if (m_next < m_keys.size() && m_keys[m_next].first == name)
            return m_keys[m_next++].second;
        for (size_t i = 0; i < m_keys.size(); ++i) {
            if (m_keys[i].first == name) {
                m_next = i + 1;
                return m_keys[i].second;
            }
        }
        if (m_keys.size() < MaxKeys) {
            m_keys.emplace_back(name.toString(), UnescapeMarkup(name));
            m_next = m_keys.size();
            return m_keys.back().second;
        }
        m_uncached = UnescapeMarkup(name);
        return m_uncached;
    }

private:
    static constexpr size_t MaxKeys = 64;
    std::vector<std::pair<QString, QString>> m_keys; // as written, as read
    size_t m_next = 0;
    QString m_uncached;
};

// Reads one column element whose start tag ends just before intPos and
// assigns it; leaves intPos just after its end tag. A "<" inside the value
// ends the value; the text up to the end tag is skipped.
void ReadColumn(const QString& strXML, qint32& intPos, QStringView rawName, QStringView name, qint32 openPos,
                clsDictionary<ColumnValue>& spalten, KeyCache& keys)
{
    const qint32 valueEnd = FindText(strXML, u"<", intPos);
    if (valueEnd == 0)
        ThrowUnclosedColumn(rawName, openPos);
    // The end tag nearly always follows the value directly.
    const QStringView rest = QStringView(strXML).mid(valueEnd - 1);
    qint32 endPos = valueEnd;
    if (!(rest.size() >= rawName.size() + 3 && rest.startsWith(u"</") && rest.mid(2, rawName.size()) == rawName
          && rest[rawName.size() + 2] == QLatin1Char('>'))) {
        endPos = FindText(strXML, QString(QStringLiteral("</") + rawName.toString() + QLatin1Char('>')), valueEnd);
        if (endPos == 0)
            ThrowUnclosedColumn(rawName, openPos);
    }
    const QStringView value = QStringView(strXML).mid(intPos - 1, valueEnd - intPos);
    spalten.Assign(keys.Key(name), ColumnValue(UnescapeMarkup(value)));
    intPos = endPos + qint32(rawName.size()) + 3;
}

}

void ReadRecordMarkup(const QString& strXML, qint32& intPos, RecordParts record, QStringView endTag)
{
    KeyCache keys;
    qsizetype lastColumnCount = 1;
    std::vector<OpenRecord> open;
    // The record's own start tag ends just before intPos.
    open.push_back({record, nullptr, endTag, intPos - qint32(endTag.size()) - 1});
    for (;;) {
        const TagPositions tag = FindNextTag(strXML, intPos);
        if (tag.openPos == 0)
            ThrowEndOfText(open.back());
        if (tag.closePos == 0)
            ThrowUnclosedTag(tag.openPos);
        const QStringView rawName = QStringView(strXML).mid(tag.openPos, tag.closePos - tag.openPos - 1);
        // Line breaks inside a tag are no part of its name.
        QString stripped;
        QStringView name = rawName;
        if (rawName.contains(QLatin1Char('\r')) || rawName.contains(QLatin1Char('\n'))) {
            stripped = rawName.toString();
            StripLineBreaks(stripped);
            name = stripped;
        }
        intPos = tag.closePos + 1;

        if (name == open.back().endTag) {
            if (open.size() == 1)
                return;
            const AdresseRef finished = open.back().adresse;
            lastColumnCount = finished->m_dicSpalten.Count();
            open.pop_back();
            open.back().parts.adressen.Add(finished->m_dicSpalten.Item(NodeKey).Text(), finished);
        } else if (name == AdresseTag) {
            auto adresse = std::make_shared<clsAdresse>();
            // Addresses mostly have the columns of the one before.
            adresse->m_dicSpalten.Reserve(lastColumnCount);
            adresse->m_dicSpalten.Assign(NodeKey, ColumnValue(NextID()));
            open.push_back({{adresse->m_dicSpalten, adresse->m_dicAdressen}, adresse, AdresseEndTag, tag.openPos});
        } else if (name.startsWith(QLatin1Char('/'))) {
            ThrowUnexpectedEndTag(name, tag.openPos, open.back());
        } else {
            ReadColumn(strXML, intPos, rawName, name, tag.openPos, open.back().parts.spalten, keys);
        }
    }
}

namespace {

void WriteColumnLines(MarkupOutput& out, const clsDictionary<ColumnValue>& spalten)
{
    for (const auto& [key, value] : spalten) {
        if (key == NodeKey)
            continue;
        const QString name = EscapeMarkupName(key);
        out.Append(u"<");
        out.Append(name);
        out.Append(u">");
        out.Append(EscapeMarkupText(value.Text()));
        out.Append(u"</");
        out.Append(name);
        out.Append(u"> \r\n");
    }
}

}

void WriteCompanyMarkup(MarkupOutput& out, const clsFirma& firma)
{
    out.Append(u"<Firma> \r\n");
    WriteColumnLines(out, firma.m_dicSpalten);
    for (const auto& [number, adresse] : firma.m_dicAdressen)
        WriteAddressMarkup(out, *adresse);
    out.Append(u"</Firma> ");
}

void WriteAddressMarkup(MarkupOutput& out, const clsAdresse& adresse)
{
    struct Pending
    {
        const clsAdresse* record;
        decltype(adresse.m_dicAdressen.begin()) next;
    };
    const auto startBlock = [&out](const clsAdresse& record) {
        out.Append(u"<Adresse> \r\n");
        WriteColumnLines(out, record.m_dicSpalten);
        return Pending{&record, record.m_dicAdressen.begin()};
    };
    std::vector<Pending> pending{startBlock(adresse)};
    while (!pending.empty()) {
        Pending& top = pending.back();
        if (top.next != top.record->m_dicAdressen.end()) {
            const clsAdresse& child = *(top.next++)->second;
            pending.push_back(startBlock(child));
        } else {
            out.Append(u"</Adresse> \r\n");
            pending.pop_back();
        }
    }
}
