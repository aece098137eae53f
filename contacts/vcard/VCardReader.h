#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <cstring>
#include <vector>

// One content line of a card, decoded: transfer encoding and charset are
// applied, backslash escapes are left for the reader of the value, since
// they decide where a structured value splits.
struct VCardProperty
{
    QByteArray name;          // upper case, without the group prefix ("ADR" of "item1.adr")
    QByteArrayList types;     // upper case: TYPE values and bare 2.1 parameters
    int pref = 0;             // 1 and up: preferred, the lowest number most; 0: not preferred
    QString value;

    bool Is(QByteArrayView wanted) const { return Equal(name, wanted); }
    bool HasType(QByteArrayView type) const
    {
        for (const QByteArray& own : types) {
            if (Equal(own, type))
                return true;
        }
        return false;
    }
    // A 3.0 "TYPE=PREF" counts as rank 1; of two ranks the better one holds.
    void Prefer(int rank) { pref = pref == 0 ? rank : std::min(pref, rank); }

private:
    // Asked for every property of every card: no call for the comparison.
    static bool Equal(const QByteArray& own, QByteArrayView wanted)
    {
        return own.size() == wanted.size() && std::memcmp(own.constData(), wanted.data(), size_t(own.size())) == 0;
    }
};

struct VCard
{
    std::vector<VCardProperty> properties;

    // The first property of that (upper-case) name, or nullptr.
    const VCardProperty* First(QByteArrayView name) const;
};

// Every card in a vCard file's bytes (versions 2.1, 3.0 and 4.0), in file
// order. Lines and cards that cannot be understood are skipped; the reader
// never fails.
std::vector<VCard> ReadVCards(const QByteArray& bytes);
