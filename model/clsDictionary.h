#pragma once

#include "model/DictionaryKeys.h"
#include "model/Failure.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

// The keyed dictionary the records keep their columns and sub-records in.
// Keys are compared exactly; enumeration runs in insertion order; assigning
// to a present key replaces the value in place; Add refuses a present key;
// Item() on an absent key adds it with an empty value, and Find() is the
// lookup without that side effect.
//
// Keys are kept in a stored form that KeyStore chooses (see DictionaryKeys.h).
// While they arrive in ascending stored order, as the reader's and the
// import's do, a key is found by bisection; otherwise a hash index is built
// once a dictionary grows, so a company with 100,000 addresses still finds
// each one in constant time.
template <typename V, typename KeyStore>
class KeyedDictionary
{
public:
    using Stored = typename KeyStore::Stored;
    // const QString& or QString, as KeyStore gives the text of a key.
    using KeyText = decltype(std::declval<const KeyStore&>().Text(Stored()));
    using Pair = std::pair<KeyText, const V&>;

    // Enumerates key and value pairs: for (const auto& [key, value] : dictionary).
    class const_iterator
    {
    public:
        const_iterator(const KeyedDictionary* dictionary, qsizetype i) : m_dictionary(dictionary), m_i(i) {}
        Pair operator*() const
        {
            const Entry& entry = m_dictionary->m_entries[size_t(m_i)];
            return Pair(m_dictionary->m_keys.Text(entry.key), entry.value);
        }
        struct Arrow
        {
            Pair pair;
            const Pair* operator->() const { return &pair; }
        };
        Arrow operator->() const { return Arrow{**this}; }
        const_iterator& operator++()
        {
            ++m_i;
            return *this;
        }
        friend bool operator==(const const_iterator&, const const_iterator&) = default;

    private:
        const KeyedDictionary* m_dictionary;
        qsizetype m_i;
    };

    qsizetype Count() const { return qsizetype(m_entries.size()); }
    bool Exists(const QString& key) const { return IndexOf(key) >= 0; }

    const V* Find(const QString& key) const
    {
        const qsizetype i = IndexOf(key);
        return i < 0 ? nullptr : &m_entries[size_t(i)].value;
    }

    V& Item(const QString& key)
    {
        const qsizetype i = IndexOf(key);
        if (i >= 0)
            return m_entries[size_t(i)].value;
        return Append(m_keys.Make(key), V());
    }

    void Assign(const QString& key, V value)
    {
        const qsizetype i = IndexOf(key);
        if (i >= 0)
            m_entries[size_t(i)].value = std::move(value);
        else
            Append(m_keys.Make(key), std::move(value));
    }

    void Add(const QString& key, V value)
    {
        if (Exists(key))
            throw Failure::DuplicateKey();
        Append(m_keys.Make(key), std::move(value));
    }

    QStringList Keys() const
    {
        QStringList keys;
        keys.reserve(Count());
        for (const Entry& entry : m_entries)
            keys.append(m_keys.Text(entry.key));
        return keys;
    }

    // Makes room for count entries in all, for a caller that knows how many
    // are coming.
    void Reserve(qsizetype count) { m_entries.reserve(size_t(count)); }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, Count()); }

    // Hands the values over, leaving the dictionary empty; used to take a
    // deep record tree apart without recursion.
    std::vector<V> TakeValues()
    {
        std::vector<V> values;
        values.reserve(m_entries.size());
        for (Entry& entry : m_entries)
            values.push_back(std::move(entry.value));
        m_entries.clear();
        m_index.clear();
        m_ascending = true;
        return values;
    }

    // Entries by their place, and keys in their stored form, for the
    // document format and the tree, which go through many records at once.
    const V& ValueAt(qsizetype i) const { return m_entries[size_t(i)].value; }
    Stored StoredKeyAt(qsizetype i) const { return m_entries[size_t(i)].key; }
    KeyStore& StoredKeys() { return m_keys; }
    const KeyStore& StoredKeys() const { return m_keys; }

    qsizetype IndexOfStored(Stored key) const
    {
        if (m_ascending) {
            const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                                [](const Entry& entry, Stored k) { return entry.key < k; });
            return found != m_entries.end() && found->key == key ? qsizetype(found - m_entries.begin()) : -1;
        }
        if (!m_index.isEmpty())
            return m_index.value(key, -1);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].key == key)
                return qsizetype(i);
        }
        return -1;
    }

    void AssignStored(Stored key, V value)
    {
        // Keys in ascending order are new without a search.
        const qsizetype i = m_ascending && (m_entries.empty() || m_entries.back().key < key) ? -1 : IndexOfStored(key);
        if (i >= 0)
            m_entries[size_t(i)].value = std::move(value);
        else
            Append(key, std::move(value));
    }

    void AddStored(Stored key, V value)
    {
        if (!(m_ascending && (m_entries.empty() || m_entries.back().key < key)) && IndexOfStored(key) >= 0)
            throw Failure::DuplicateKey();
        Append(key, std::move(value));
    }

private:
    struct Entry
    {
        Stored key;
        V value;
    };
    static constexpr size_t IndexThreshold = 32;

    qsizetype IndexOf(const QString& key) const
    {
        const std::optional<Stored> stored = m_keys.Lookup(key);
        return stored ? IndexOfStored(*stored) : -1;
    }

    V& Append(Stored key, V value)
    {
        if (m_ascending && !m_entries.empty() && !(m_entries.back().key < key)) {
            m_ascending = false;
            if (m_entries.size() >= IndexThreshold)
                BuildIndex();
        }
        m_entries.push_back(Entry{key, std::move(value)});
        if (!m_index.isEmpty())
            m_index.insert(key, qsizetype(m_entries.size() - 1));
        else if (!m_ascending && m_entries.size() > IndexThreshold)
            BuildIndex();
        return m_entries.back().value;
    }

    void BuildIndex()
    {
        m_index.reserve(qsizetype(m_entries.size() * 2));
        for (size_t i = 0; i < m_entries.size(); ++i)
            m_index.insert(m_entries[i].key, qsizetype(i));
    }

    KeyStore m_keys;
    std::vector<Entry> m_entries;
    QHash<Stored, qsizetype> m_index; // once large and out of order
    bool m_ascending = true;
};

class ColumnValue;
class clsAdresse;

// Columns are keyed by a document's shared key table, sub-records by number.
template <typename V>
struct DictionaryKeysFor;
template <>
struct DictionaryKeysFor<ColumnValue>
{
    using Type = ColumnKeys;
};
template <>
struct DictionaryKeysFor<std::shared_ptr<clsAdresse>>
{
    using Type = RecordNumberKeys;
};

template <typename V>
using clsDictionary = KeyedDictionary<V, typename DictionaryKeysFor<V>::Type>;
