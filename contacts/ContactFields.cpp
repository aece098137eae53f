#include "contacts/ContactFields.h"

#include "platform/Failure.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

// Names are asked for once for every column of every contact: compared
// four characters at a time, without a call.
bool IsName(const QString& name, QStringView wanted)
{
    if (name.size() != wanted.size())
        return false;
    const auto* a = reinterpret_cast<const char*>(name.constData());
    const auto* b = reinterpret_cast<const char*>(wanted.data());
    size_t left = size_t(wanted.size()) * sizeof(char16_t);
    for (; left >= sizeof(quint64); left -= sizeof(quint64), a += sizeof(quint64), b += sizeof(quint64)) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, a, sizeof x);
        std::memcpy(&y, b, sizeof y);
        if (x != y)
            return false;
    }
    return std::equal(a, a + left, b);
}

Failure NoSuchProperty(const QString& name)
{
    return Failure(QStringLiteral("Die Eigenschaft \u201E%1\u201C gibt es bei Kontakten nicht.").arg(name));
}

}

int ContactFields::FieldOf(const QString& propertyName)
{
    // In the order of Field.
    static constexpr QStringView names[FieldCount] = {
        u"FullName", u"LastFirstSpaceOnly", u"Title", u"FirstName", u"LastName", u"Suffix",
        u"BusinessAddressStreet", u"BusinessAddressCity", u"BusinessAddressPostalCode", u"BusinessAddressCountry",
        u"BusinessTelephoneNumber", u"Business2TelephoneNumber", u"MobileTelephoneNumber", u"BusinessFaxNumber",
        u"Email1Address", u"BusinessHomePage", u"Department", u"JobTitle"};
    // The import asks for each of them per contact: the names of each
    // length, of which there are at most three.
    constexpr size_t LongestName = 32;
    constexpr size_t MostOfOneLength = 3;
    static const auto byLength = [] {
        std::array<std::array<int, MostOfOneLength>, LongestName> table;
        for (auto& fields : table)
            fields.fill(-1);
        for (int field = 0; field < FieldCount; ++field) {
            auto& fields = table[size_t(names[field].size())];
            *std::find(fields.begin(), fields.end(), -1) = field;
        }
        return table;
    }();
    if (size_t(propertyName.size()) >= LongestName)
        return -1;
    for (const int field : byLength[size_t(propertyName.size())]) {
        if (field < 0)
            break;
        if (IsName(propertyName, names[field]))
            return field;
    }
    return -1;
}

ContactProperty::ContactProperty(const QString& propertyName)
    : name(propertyName), field(ContactFields::FieldOf(propertyName))
{
}

const QString* ContactFields::Text(const QString& propertyName) const
{
    const int field = FieldOf(propertyName);
    return field < 0 ? nullptr : &text[size_t(field)];
}

namespace {

// Characters no XML reader accepts in a saved document, which broken
// exports put into contacts: C0 controls other than tab and line breaks,
// and U+FFFE and U+FFFF.
bool IsUnsaveableControl(uint u)
{
    return u < 0x20 && u != '\t' && u != '\n' && u != '\r';
}

bool IsUnsaveable(char c)
{
    return IsUnsaveableControl(uchar(c));
}

bool IsUnsaveable(QChar c)
{
    return IsUnsaveableControl(c.unicode()) || c.unicode() >= 0xfffe;
}

template <typename View>
bool HasUnsaveable(View text)
{
    return std::any_of(text.begin(), text.end(), [](auto c) { return IsUnsaveable(c); });
}

template <typename View>
auto WithoutUnsaveable(View text)
{
    std::conditional_t<std::is_same_v<View, QByteArrayView>, QByteArray, QString> kept;
    kept.reserve(text.size());
    for (const auto c : text) {
        if (!IsUnsaveable(c))
            kept.append(c);
    }
    return kept;
}

}

template <typename View>
void PackedContact::Keep(std::span<const View, TextCount> texts, PackedTexts& packed)
{
    std::array<decltype(WithoutUnsaveable(View())), TextCount> cleaned;
    std::array<View, TextCount> kept;
    bool anyCleaned = false;
    for (size_t i = 0; i < TextCount; ++i) {
        kept[i] = texts[i];
        if (HasUnsaveable(texts[i])) {
            cleaned[i] = WithoutUnsaveable(texts[i]);
            kept[i] = View(cleaned[i]);
            anyCleaned = true;
        }
    }
    if (anyCleaned)
        texts = std::span<const View, TextCount>(kept);
    const TextSlice run = packed.KeepTogether(texts);
    m_block = run.block;
    m_start = run.offset;
    quint32 end = 0;
    for (size_t i = 0; i < TextCount; ++i)
        m_ends[i] = end += quint32(texts[i].size());
}

PackedContact::PackedContact(std::span<const QByteArrayView, TextCount> codePageTexts, PackedTexts& packed)
{
    Keep(codePageTexts, packed);
}

PackedContact::PackedContact(const ContactFields& fields, const QString& uid, PackedTexts& packed)
    : distributionList(fields.typeName == QLatin1String("DistListItem")), gender(fields.gender)
{
    std::array<QStringView, TextCount> texts;
    std::copy(fields.text.begin(), fields.text.end(), texts.begin());
    texts[Uid] = uid;
    Keep(std::span<const QStringView, TextCount>(texts), packed);
}

TextSlice PackedContact::Slice(const ContactProperty& property) const
{
    if (property.field < 0)
        throw NoSuchProperty(property.name);
    return Text(size_t(property.field));
}

qint32 PackedContact::IntegerProperty(const QString& name) const
{
    if (IsName(name, u"Gender"))
        return gender;
    throw NoSuchProperty(name);
}
