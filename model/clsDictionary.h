#pragma once

#include "model/Failure.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The keyed dictionary the records keep their columns and sub-records in.
// Keys are compared exactly; enumeration runs in insertion order; assigning
// to a present key replaces the value in place; Add refuses a present key;
// Item() on an absent key adds it with an empty value, and Find() is the
// lookup without that side effect.
//
// Small dictionaries (a record's twenty columns) are searched linearly; a
// hash index is built once a dictionary grows, so a company with 100,000
// addresses still finds each one in constant time.
template <typename V>
class clsDictionary
{
public:
    using Entry = std::pair<QString, V>;

    qsizetype Count() const { return qsizetype(m_entries.size()); }
    bool Exists(const QString& key) const { return IndexOf(key) >= 0; }

    const V* Find(const QString& key) const
    {
        const qsizetype i = IndexOf(key);
        return i < 0 ? nullptr : &m_entries[size_t(i)].second;
    }

    V& Item(const QString& key)
    {
        const qsizetype i = IndexOf(key);
        if (i >= 0)
            return m_entries[size_t(i)].second;
        return Append(key, V());
    }

    void Assign(const QString& key, V value)
    {
        const qsizetype i = IndexOf(key);
        if (i >= 0)
            m_entries[size_t(i)].second = std::move(value);
        else
            Append(key, std::move(value));
    }

    void Add(const QString& key, V value)
    {
        if (Exists(key))
            throw Failure::DuplicateKey();
        Append(key, std::move(value));
    }

    QStringList Keys() const
    {
        QStringList keys;
        keys.reserve(Count());
        for (const Entry& entry : m_entries)
            keys.append(entry.first);
        return keys;
    }

    // Makes room for count entries in all, for a caller that knows how many
    // are coming.
    void Reserve(qsizetype count) { m_entries.reserve(size_t(count)); }

    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

    // Hands the entries over, leaving the dictionary empty; used to take a
    // deep record tree apart without recursion.
    std::vector<Entry> TakeEntries()
    {
        m_index.clear();
        return std::exchange(m_entries, {});
    }

private:
    static constexpr size_t IndexThreshold = 32;

    qsizetype IndexOf(const QString& key) const
    {
        if (!m_index.isEmpty())
            return m_index.value(key, -1);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].first == key)
                return qsizetype(i);
        }
        return -1;
    }

    V& Append(const QString& key, V value)
    {
        m_entries.emplace_back(key, std::move(value));
        if (!m_index.isEmpty()) {
            m_index.insert(key, qsizetype(m_entries.size() - 1));
        } else if (m_entries.size() > IndexThreshold) {
            m_index.reserve(qsizetype(m_entries.size() * 2));
            for (size_t i = 0; i < m_entries.size(); ++i)
                m_index.insert(m_entries[i].first, qsizetype(i));
        }
        return m_entries.back().second;
    }

    std::vector<Entry> m_entries;
    QHash<QString, qsizetype> m_index;
};
