#include "model/DictionaryKeys.h"

#include <limits>

std::optional<qint32> CanonicalNumber(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || digits.size() > 10 || (digits[0] == u'0' && (digits.size() > 1 || negative)))
        return std::nullopt;
    qint64 value = 0;
    for (const QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        value = value * 10 + (ch.unicode() - u'0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

std::optional<quint32> ColumnKeyTable::Find(const QString& key) const
{
    if (!m_index.isEmpty()) {
        const auto found = m_index.constFind(key);
        return found == m_index.cend() ? std::nullopt : std::optional<quint32>(*found);
    }
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == key)
            return quint32(i);
    }
    return std::nullopt;
}

quint32 ColumnKeyTable::Add(const QString& key)
{
    if (const std::optional<quint32> found = Find(key))
        return *found;
    const quint32 index = Count();
    m_names.push_back(key);
    if (!m_index.isEmpty()) {
        m_index.insert(key, index);
    } else if (m_names.size() > IndexThreshold) {
        for (quint32 i = 0; i < Count(); ++i)
            m_index.insert(m_names[i], i);
    }
    return index;
}

ColumnKeys::Stored ColumnKeys::Make(const QString& key)
{
    if (!table)
        table = std::make_shared<ColumnKeyTable>();
    return table->Add(key);
}

RecordNumberKeys::RecordNumberKeys(const RecordNumberKeys& other)
    : m_otherTexts(other.m_otherTexts ? std::make_unique<OtherTexts>(*other.m_otherTexts) : nullptr)
{
}

RecordNumberKeys& RecordNumberKeys::operator=(const RecordNumberKeys& other)
{
    if (this != &other)
        m_otherTexts = other.m_otherTexts ? std::make_unique<OtherTexts>(*other.m_otherTexts) : nullptr;
    return *this;
}

std::optional<RecordNumberKeys::Stored> RecordNumberKeys::Lookup(const QString& key) const
{
    if (const std::optional<qint32> number = CanonicalNumber(key))
        return *number;
    if (!m_otherTexts)
        return std::nullopt;
    const auto found = m_otherTexts->index.constFind(key);
    return found == m_otherTexts->index.cend() ? std::nullopt : std::optional<Stored>(*found);
}

RecordNumberKeys::Stored RecordNumberKeys::Make(const QString& key)
{
    if (const std::optional<Stored> known = Lookup(key))
        return *known;
    if (!m_otherTexts)
        m_otherTexts = std::make_unique<OtherTexts>();
    const Stored stored = FirstOther + Stored(m_otherTexts->texts.size());
    m_otherTexts->texts.push_back(key);
    m_otherTexts->index.insert(key, stored);
    return stored;
}

QString RecordNumberKeys::Text(Stored key) const
{
    if (key < FirstOther)
        return QString::number(key);
    return m_otherTexts->texts[size_t(key - FirstOther)];
}
