#include "platform/ContactFields.h"

#include <QHash>

const QString* ContactFields::Text(const QString& propertyName) const
{
    static const QHash<QString, int> fieldsByName = [] {
        const char* names[FieldCount] = {
            "FullName", "LastFirstSpaceOnly", "Title", "FirstName", "LastName", "Suffix",
            "BusinessAddressStreet", "BusinessAddressCity", "BusinessAddressPostalCode", "BusinessAddressCountry",
            "BusinessTelephoneNumber", "Business2TelephoneNumber", "MobileTelephoneNumber", "BusinessFaxNumber",
            "Email1Address", "BusinessHomePage", "Department", "JobTitle"};
        QHash<QString, int> table;
        for (int i = 0; i < FieldCount; ++i)
            table.insert(QString::fromLatin1(names[i]), i);
        return table;
    }();
    const auto found = fieldsByName.constFind(propertyName);
    return found == fieldsByName.cend() ? nullptr : &text[size_t(*found)];
}
