#pragma once

#include "platform/vcard/VCardReader.h"

#include <QString>

#include <array>

// A card seen as a contact item: the type name and the contact properties
// the import reads, taken from the card's lines once when it is read.
class VCardContact
{
public:
    explicit VCardContact(const VCard& card);

    // "DistListItem" for a group card, "ContactItem" for every other card.
    const QString& TypeName() const { return m_typeName; }
    // A text property by its contact name ("FullName", "BusinessAddressCity",
    // ...); nullptr for a name the contact does not have.
    const QString* Text(const QString& propertyName) const;
    // 2 male, 1 female, 0 unknown.
    qint32 Gender() const { return m_gender; }

    enum Field {
        FullName, LastFirstSpaceOnly, Title, FirstName, LastName, Suffix,
        BusinessAddressStreet, BusinessAddressCity, BusinessAddressPostalCode, BusinessAddressCountry,
        BusinessTelephoneNumber, Business2TelephoneNumber, MobileTelephoneNumber, BusinessFaxNumber,
        Email1Address, BusinessHomePage, Department, JobTitle,
        FieldCount
    };

private:
    void ReadName(const VCard& card, const QString& company);
    void ReadAddress(const VCard& card);
    void ReadTelephones(const VCard& card);
    void ReadInternet(const VCard& card);
    QString ReadOrganization(const VCard& card);
    void ReadGender(const VCard& card);

    QString m_typeName;
    std::array<QString, FieldCount> m_fields;
    qint32 m_gender = 0;
};
