#pragma once

#include "contacts/ContactStore.h"
#include "model/PackedTexts.h"

#include <QString>

#include <array>
#include <span>

// The properties one contact gives the import, read once from its source:
// the text properties by their Outlook names, and the gender as Outlook
// numbers it.
struct ContactFields
{
    enum Field {
        FullName, LastFirstSpaceOnly, Title, FirstName, LastName, Suffix,
        BusinessAddressStreet, BusinessAddressCity, BusinessAddressPostalCode, BusinessAddressCountry,
        BusinessTelephoneNumber, Business2TelephoneNumber, MobileTelephoneNumber, BusinessFaxNumber,
        Email1Address, BusinessHomePage, Department, JobTitle,
        FieldCount
    };
    // The field of a text property's name ("FullName", "BusinessAddressCity",
    // ...); -1 for a name contacts do not have.
    static int FieldOf(const QString& propertyName);

    // "DistListItem" for a distribution list, "ContactItem" for a contact.
    QString typeName = QStringLiteral("ContactItem");
    std::array<QString, FieldCount> text;
    // 2 male, 1 female, 0 unknown.
    qint32 gender = 0;

    // A text property by its name; nullptr for a name contacts do not have.
    const QString* Text(const QString& propertyName) const;
};

// A contact as a book keeps it: its texts one after the other in a block
// of the book's packed texts, which must outlive it.
class PackedContact final : public ContactItem
{
public:
    // The fields in their order, then the vCard UID by which the same
    // contact is recognised in another book (empty: never the same as
    // another).
    static constexpr size_t TextCount = ContactFields::FieldCount + 1;
    static constexpr size_t Uid = ContactFields::FieldCount;

    PackedContact(std::span<const QByteArrayView, TextCount> codePageTexts, PackedTexts& packed);
    PackedContact(const ContactFields& fields, const QString& uid, PackedTexts& packed);

    QString TypeName() const override
    {
        return distributionList ? QStringLiteral("DistListItem") : QStringLiteral("ContactItem");
    }
    QString TextProperty(const QString& name) const override { return Slice(name).Text(); }
    qint32 IntegerProperty(const QString& name) const override;
    ColumnValue TextPropertyValue(const ContactProperty& property) const override { return Slice(property).Value(); }
    // Throws a Failure for a name contacts do not have.
    TextSlice Slice(const ContactProperty& property) const;
    TextSlice Slice(const QString& name) const { return Slice(ContactProperty(name)); }
    TextSlice Text(size_t text) const
    {
        const quint32 begin = text == 0 ? 0 : m_ends[text - 1];
        return {m_block, m_start + begin, m_ends[text] - begin};
    }

    bool distributionList = false;
    qint32 gender = 0;

private:
    template <typename View>
    void Keep(std::span<const View, TextCount> texts, PackedTexts& packed);

    TextBlock* m_block = nullptr;
    quint32 m_start = 0;
    std::array<quint32, TextCount> m_ends{};
};
