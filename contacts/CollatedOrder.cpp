#include "contacts/CollatedOrder.h"

#include "model/CodePage1252.h"

#include <QCollator>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <numeric>
#include <string>

// A collator's sort key costs some microseconds a text, far more than the
// rest of an import does with a contact. Texts in the code page mostly need
// none: a key made from each character's weights, which are asked of the
// collator once, orders them as it does. That order is then checked pair by
// pair with the collator, and only where it differs (a language that joins
// letters, a text outside the code page) is every key asked of the
// collator.

namespace {

QCollator UserCollator()
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// A character's weights: the first level tells the letters (or digits,
// blanks, signs) apart, the second their accents; case is ignored. Two of
// each for a character the collator reads as two ("ß" as "ss").
struct Weights
{
    quint8 count = 0; // 0: the character has no weights of its own here
    std::array<quint8, 2> first{};
    std::array<quint8, 2> second{};
};

class CodePageCollation
{
public:
    explicit CodePageCollation(const QCollator& collator);

    // The most bytes the key of a text of that size takes.
    static size_t KeySize(size_t characters) { return 4 * characters + 1; }

    // Writes the key of a code page text at out and moves out past it;
    // false when a character of it has no weights here.
    bool WriteKey(QByteArrayView text, char*& out) const
    {
        char* first = out;
        for (const char byte : text) {
            const Weights& weights = m_weights[uchar(byte)];
            if (weights.count == 0)
                return false;
            first = std::copy_n(reinterpret_cast<const char*>(weights.first.data()), weights.count, first);
        }
        *first++ = '\0'; // before every first-level weight: shorter texts first
        char* second = first;
        for (const char byte : text) {
            const Weights& weights = m_weights[uchar(byte)];
            second = std::copy_n(reinterpret_cast<const char*>(weights.second.data()), weights.count, second);
        }
        out = second;
        return true;
    }

private:
    std::array<Weights, 256> m_weights;
};

CodePageCollation::CodePageCollation(const QCollator& collator)
{
    // Letters, digits, blanks and signs; control characters have no weight.
    std::vector<uchar> bytes;
    std::array<QString, 256> texts;
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t ch = Windows1252Char(char(byte));
        if (QChar::category(ch) == QChar::Other_Control || QChar::category(ch) == QChar::Other_Format)
            continue;
        texts[size_t(byte)] = QString(QChar(ch));
        if (collator.compare(texts[size_t(byte)], QString()) != 0)
            bytes.push_back(uchar(byte));
    }
    std::stable_sort(bytes.begin(), bytes.end(),
                     [&](uchar a, uchar b) { return collator.compare(texts[a], texts[b]) < 0; });

    // Neighbours of one letter differ on the second level only: then a
    // digit after them decides on the first level.
    const auto sameFirstLevel = [&](uchar a, uchar b) {
        return collator.compare(texts[a] + QLatin1Char('1'), texts[b] + QLatin1Char('0')) > 0;
    };
    std::vector<std::vector<uchar>> letters;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 0 || !sameFirstLevel(bytes[i - 1], bytes[i]))
            letters.emplace_back();
        letters.back().push_back(bytes[i]);
    }
    if (letters.size() > 255)
        return;
    for (size_t letter = 0; letter < letters.size(); ++letter) {
        const std::vector<uchar>& members = letters[letter];
        quint8 second = 1;
        for (size_t i = 0; i < members.size(); ++i) {
            if (i > 0 && collator.compare(texts[members[i - 1]], texts[members[i]]) != 0)
                ++second;
            m_weights[members[i]] = {1, {quint8(letter + 1), 0}, {second, 0}};
        }
    }
    // Ligatures and the sharp s, where the collator reads them as two
    // letters. Other characters it reads so (fractions, "™") get wrong
    // weights here, which the check of the order finds.
    static constexpr std::pair<char, const char*> Pairs[] = {
        {'\xDF', "ss"}, {'\xE6', "ae"}, {'\xC6', "ae"}, {'\x9C', "oe"}, {'\x8C', "oe"}};
    for (const auto& [byte, pair] : Pairs) {
        const Weights& a = m_weights[uchar(pair[0])];
        const Weights& b = m_weights[uchar(pair[1])];
        if (a.count == 1 && b.count == 1 && collator.compare(texts[uchar(byte)], QLatin1StringView(pair)) == 0)
            m_weights[uchar(byte)] = {2, {a.first[0], b.first[0]}, {a.second[0], b.second[0]}};
    }
}

// The collator's own keys for every text.
std::vector<size_t> OrderByCollator(const QCollator& collator, const std::vector<TextSlice>& texts, bool descending)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const TextSlice& text : texts)
        keys.push_back(collator.sortKey(text.Text()));
    std::vector<size_t> order(texts.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int comparison = keys[a].compare(keys[b]);
        return descending ? comparison > 0 : comparison < 0;
    });
    return order;
}

// A text's place with the first bytes of its key, which mostly decide the
// order without a look at the rest.
struct KeyedPlace
{
    static constexpr size_t HeadWords = 3;
    std::array<quint64, HeadWords> head; // most significant byte first
    quint32 place;
};

// The order of the code page keys; false when a text has none.
bool OrderByKeys(const CodePageCollation& collation, const std::vector<TextSlice>& texts, bool descending,
                 std::vector<size_t>& order)
{
    size_t room = 0;
    for (const TextSlice& text : texts)
        room += CodePageCollation::KeySize(text.size);
    const std::unique_ptr<char[]> keys = std::make_unique_for_overwrite<char[]>(room);
    std::vector<quint32> starts;
    starts.reserve(texts.size() + 1);
    char* out = keys.get();
    for (const TextSlice& text : texts) {
        starts.push_back(quint32(out - keys.get()));
        if (!text.IsCodePageText() || !collation.WriteKey(text.CodePageText(), out))
            return false;
    }
    starts.push_back(quint32(out - keys.get()));

    std::vector<KeyedPlace> places(texts.size());
    for (quint32 i = 0; i < places.size(); ++i) {
        std::array<char, sizeof(KeyedPlace::head)> head{};
        std::memcpy(head.data(), keys.get() + starts[i], std::min<size_t>(head.size(), starts[i + 1] - starts[i]));
        places[i].place = i;
        for (size_t word = 0; word < KeyedPlace::HeadWords; ++word)
            places[i].head[word] = qFromBigEndian<quint64>(head.data() + word * sizeof(quint64));
    }
    const auto less = [&](const KeyedPlace& a, const KeyedPlace& b) {
        for (size_t word = 0; word < KeyedPlace::HeadWords; ++word) {
            if (a.head[word] != b.head[word])
                return descending ? a.head[word] > b.head[word] : a.head[word] < b.head[word];
        }
        const std::string_view keyA(keys.get() + starts[a.place], starts[a.place + 1] - starts[a.place]);
        const std::string_view keyB(keys.get() + starts[b.place], starts[b.place + 1] - starts[b.place]);
        const int comparison = keyA.compare(keyB);
        if (comparison != 0)
            return descending ? comparison > 0 : comparison < 0;
        return a.place < b.place;
    };
    std::sort(places.begin(), places.end(), less);
    order.resize(places.size());
    for (size_t i = 0; i < places.size(); ++i)
        order[i] = places[i].place;
    return true;
}

void DecodeInto(QByteArrayView bytes, std::u16string& text)
{
    static const std::array<char16_t, 256> characters = [] {
        std::array<char16_t, 256> table;
        for (int byte = 0; byte < 256; ++byte)
            table[size_t(byte)] = Windows1252Char(char(byte));
        return table;
    }();
    text.resize(size_t(bytes.size()));
    std::transform(bytes.begin(), bytes.end(), text.begin(), [](char byte) { return characters[uchar(byte)]; });
}

// Whether the collator sorts the texts as the order has them, texts it
// finds equal in their given order.
bool CollatorAgrees(const QCollator& collator, const std::vector<TextSlice>& texts, bool descending,
                    const std::vector<size_t>& order)
{
    std::u16string previous;
    std::u16string current;
    // Taken in their new order, the texts lie all over memory: where each
    // lies is fetched ahead, and then the text itself.
    constexpr size_t Ahead = 8;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i + 2 * Ahead < order.size())
            __builtin_prefetch(&texts[order[i + 2 * Ahead]]);
        if (i + Ahead < order.size())
            __builtin_prefetch(texts[order[i + Ahead]].CodePageText().data());
        DecodeInto(texts[order[i]].CodePageText(), current);
        if (i > 0) {
            int comparison = collator.compare(QStringView(previous), QStringView(current));
            if (descending)
                comparison = -comparison;
            if (comparison > 0 || (comparison == 0 && order[i - 1] > order[i]))
                return false;
        }
        previous.swap(current);
    }
    return true;
}

}

std::vector<size_t> CollatedOrder(const std::vector<TextSlice>& texts, bool descending)
{
    const QCollator collator = UserCollator();
    // Without a language, Qt's collator compares case-blind but sorts by keys
    // that are not; the keys hold.
    if (collator.locale().language() == QLocale::C)
        return OrderByCollator(collator, texts, descending);
    const CodePageCollation collation(collator);
    std::vector<size_t> order;
    if (OrderByKeys(collation, texts, descending, order) && CollatorAgrees(collator, texts, descending, order))
        return order;
    return OrderByCollator(collator, texts, descending);
}
