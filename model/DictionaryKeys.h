#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <deque>
#include <memory>
#include <optional>

// How the record dictionaries keep their keys. Each way offers the same
// four things: the stored form of a key text, if it is known (Lookup); the
// stored form, taken on when new (Make); the text of a stored key (Text);
// and stored keys that compare and hash cheaply.

// The decimal text of a signed 32-bit number exactly as QString::number
// writes it ("7", "-12", not "07", "+7" or "-0"), as a number.
std::optional<qint32> CanonicalNumber(QStringView text);

// The column keys of the records of a document, in the order they were
// first used. The records share one table and name each of their columns by
// its place in it, so no record keeps a key text of its own.
class ColumnKeyTable
{
public:
    std::optional<quint32> Find(const QString& key) const;
    // Finds the key, or appends it.
    quint32 Add(const QString& key);
    // Stays valid while keys are added.
    const QString& Name(quint32 index) const { return m_names[index]; }
    quint32 Count() const { return quint32(m_names.size()); }

private:
    static constexpr size_t IndexThreshold = 32;

    std::deque<QString> m_names;
    QHash<QString, quint32> m_index; // once there are many
};

// Column keys: places in a table shared by the records of a document. A
// dictionary that has none yet gets a table of its own with its first key.
struct ColumnKeys
{
    using Stored = quint32;

    std::optional<Stored> Lookup(const QString& key) const { return table ? table->Find(key) : std::nullopt; }
    Stored Make(const QString& key);
    const QString& Text(Stored key) const { return table->Name(key); }

    std::shared_ptr<ColumnKeyTable> table;
};

// Sub-record keys: the decimal texts of record numbers are kept as the
// numbers, so finding a record by its number makes no text. Any other text,
// which only a file's own "Node" column can give, is kept aside and stored
// as a number above the 32-bit range, in the order of its arrival.
class RecordNumberKeys
{
public:
    using Stored = qint64;

    RecordNumberKeys() = default;
    RecordNumberKeys(const RecordNumberKeys& other);
    RecordNumberKeys& operator=(const RecordNumberKeys& other);
    RecordNumberKeys(RecordNumberKeys&&) noexcept = default;
    RecordNumberKeys& operator=(RecordNumberKeys&&) noexcept = default;

    std::optional<Stored> Lookup(const QString& key) const;
    Stored Make(const QString& key);
    QString Text(Stored key) const;

private:
    static constexpr Stored FirstOther = Stored(1) << 32;

    struct OtherTexts
    {
        std::deque<QString> texts;
        QHash<QString, Stored> index;
    };
    std::unique_ptr<OtherTexts> m_otherTexts;
};
