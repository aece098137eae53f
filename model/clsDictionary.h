#pragma once

#include "model/DictionaryKeys.h"
#include "platform/Failure.h"
#include "platform/MemoryArena.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <memory_resource>
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
// each one in constant time. While every key is its entry's place (0, 1,
// 2, ...), as the columns of records that follow their document's key table
// are, no key is kept at all: a record's columns cost their values only.
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
            return Pair(m_dictionary->m_keys.Text(m_dictionary->StoredKeyAt(m_i)), m_dictionary->ValueAt(m_i));
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

    KeyedDictionary() = default;
    // Keeps its values in memory, which must outlive the dictionary. A copy,
    // or a dictionary moved from it, keeps them where a new one does.
    explicit KeyedDictionary(std::pmr::memory_resource* memory) : m_values(memory) {}
    KeyedDictionary(const KeyedDictionary&) = default;
    KeyedDictionary(KeyedDictionary&& other)
        : m_keys(std::move(other.m_keys)), m_values(std::move(other.m_values), LargeArrayMemory()),
          m_entries(std::move(other.m_entries)), m_index(std::move(other.m_index)),
          m_keysArePlaces(other.m_keysArePlaces), m_ascending(other.m_ascending)
    {
        other.m_values.clear();
    }
    KeyedDictionary& operator=(const KeyedDictionary&) = default;
    KeyedDictionary& operator=(KeyedDictionary&&) = default;

    qsizetype Count() const { return qsizetype(m_keysArePlaces ? m_values.size() : m_entries.size()); }
    bool Exists(const QString& key) const { return IndexOf(key) >= 0; }

    const V* Find(const QString& key) const
    {
        const qsizetype i = IndexOf(key);
        return i < 0 ? nullptr : &ValueAt(i);
    }

    V& Item(const QString& key)
    {
        const qsizetype i = IndexOf(key);
        if (i >= 0)
            return ValueAtPlace(i);
        return Append(m_keys.Make(key), V());
    }

    void Assign(const QString& key, V value)
    {
        const qsizetype i = IndexOf(key);
        if (i >= 0)
            ValueAtPlace(i) = std::move(value);
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
        for (qsizetype i = 0; i < Count(); ++i)
            keys.append(m_keys.Text(StoredKeyAt(i)));
        return keys;
    }

    // Makes room for count entries in all, for a caller that knows how many
    // are coming.
    void Reserve(qsizetype count)
    {
        if (m_keysArePlaces)
            m_values.reserve(size_t(count));
        else
            m_entries.reserve(size_t(count));
    }

    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, Count()); }

    // Hands the values over, leaving the dictionary empty; used to take a
    // deep record tree apart without recursion.
    std::pmr::vector<V> TakeValues()
    {
        std::pmr::vector<V> values = std::exchange(m_values, {});
        for (Entry& entry : m_entries)
            values.push_back(std::move(entry.value));
        m_entries = {};
        m_index.clear();
        m_keysArePlaces = true;
        m_ascending = true;
        return values;
    }

    // Entries by their place, and keys in their stored form, for the
    // document format and the tree, which go through many records at once.
    const V& ValueAt(qsizetype i) const
    {
        return m_keysArePlaces ? m_values[size_t(i)] : m_entries[size_t(i)].value;
    }
    Stored StoredKeyAt(qsizetype i) const { return m_keysArePlaces ? Stored(i) : m_entries[size_t(i)].key; }
    KeyStore& StoredKeys() { return m_keys; }
    const KeyStore& StoredKeys() const { return m_keys; }

    qsizetype IndexOfStored(Stored key) const
    {
        if (m_keysArePlaces)
            return std::cmp_greater_equal(key, 0) && std::cmp_less(key, Count()) ? qsizetype(key) : -1;
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
        const qsizetype i = IsNewAtEnd(key) ? -1 : IndexOfStored(key);
        if (i >= 0)
            ValueAtPlace(i) = std::move(value);
        else
            Append(key, std::move(value));
    }

    void AddStored(Stored key, V value)
    {
        if (!IsNewAtEnd(key) && IndexOfStored(key) >= 0)
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

    V& ValueAtPlace(qsizetype i) { return m_keysArePlaces ? m_values[size_t(i)] : m_entries[size_t(i)].value; }

    // Keys in ascending order are new without a search.
    bool IsNewAtEnd(Stored key) const { return m_ascending && (Count() == 0 || StoredKeyAt(Count() - 1) < key); }

    qsizetype IndexOf(const QString& key) const
    {
        const std::optional<Stored> stored = m_keys.Lookup(key);
        return stored ? IndexOfStored(*stored) : -1;
    }

    V& Append(Stored key, V value)
    {
        if (m_keysArePlaces) {
            if (std::cmp_equal(key, Count()))
                return m_values.emplace_back(std::move(value));
            KeepKeys();
        }
        if (m_ascending && !IsNewAtEnd(key)) {
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

    // The first key that is not its place: from now on every key is kept
    // beside its value.
    void KeepKeys()
    {
        m_entries.reserve(m_values.capacity());
        for (size_t i = 0; i < m_values.size(); ++i)
            m_entries.push_back(Entry{Stored(i), std::move(m_values[i])});
        m_values.clear();
        m_values.shrink_to_fit();
        m_keysArePlaces = false;
    }

    void BuildIndex()
    {
        m_index.reserve(qsizetype(m_entries.size() * 2));
        for (size_t i = 0; i < m_entries.size(); ++i)
            m_index.insert(m_entries[i].key, qsizetype(i));
    }

    KeyStore m_keys;
    // While every key is its place, the values alone; then keys and values.
    std::pmr::vector<V> m_values{LargeArrayMemory()};
    std::vector<Entry> m_entries;
    QHash<Stored, qsizetype> m_index; // once large and out of order
    bool m_keysArePlaces = true;
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
