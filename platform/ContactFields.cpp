#include "platform/ContactFields.h"

const QString* ContactFields::Text(const QString& propertyName) const
{
    // In the order of Field; the import asks for each of them per contact.
    static constexpr QLatin1StringView names[FieldCount] = {
        QLatin1StringView("FullName"), QLatin1StringView("LastFirstSpaceOnly"), QLatin1StringView("Title"),
        QLatin1StringView("FirstName"), QLatin1StringView("LastName"), QLatin1StringView("Suffix"),
        QLatin1StringView("BusinessAddressStreet"), QLatin1StringView("BusinessAddressCity"),
        QLatin1StringView("BusinessAddressPostalCode"), QLatin1StringView("BusinessAddressCountry"),
        QLatin1StringView("BusinessTelephoneNumber"), QLatin1StringView("Business2TelephoneNumber"),
        QLatin1StringView("MobileTelephoneNumber"), QLatin1StringView("BusinessFaxNumber"),
        QLatin1StringView("Email1Address"), QLatin1StringView("BusinessHomePage"), QLatin1StringView("Department"),
        QLatin1StringView("JobTitle")};
    for (size_t i = 0; i < FieldCount; ++i) {
        if (names[i].size() == propertyName.size() && names[i] == propertyName)
            return &text[i];
    }
    return nullptr;
}
