#pragma once

#include <QString>

#include <array>

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

    // "DistListItem" for a distribution list, "ContactItem" for a contact.
    QString typeName = QStringLiteral("ContactItem");
    std::array<QString, FieldCount> text;
    // 2 male, 1 female, 0 unknown.
    qint32 gender = 0;

    // A text property by its name ("FullName", "BusinessAddressCity", ...);
    // nullptr for a name contacts do not have.
    const QString* Text(const QString& propertyName) const;
};
