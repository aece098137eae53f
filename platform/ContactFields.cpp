#include "platform/ContactFields.h"

const QString* ContactFields::Text(const QString& propertyName) const
{
    // Asked once for every column of every contact: a scan of the names,
    // which mostly differ in length, is quicker here than hashing them.
    static const QString names[FieldCount] = {
        QStringLiteral("FullName"), QStringLiteral("LastFirstSpaceOnly"), QStringLiteral("Title"),
        QStringLiteral("FirstName"), QStringLiteral("LastName"), QStringLiteral("Suffix"),
        QStringLiteral("BusinessAddressStreet"), QStringLiteral("BusinessAddressCity"),
        QStringLiteral("BusinessAddressPostalCode"), QStringLiteral("BusinessAddressCountry"),
        QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("Business2TelephoneNumber"),
        QStringLiteral("MobileTelephoneNumber"), QStringLiteral("BusinessFaxNumber"), QStringLiteral("Email1Address"),
        QStringLiteral("BusinessHomePage"), QStringLiteral("Department"), QStringLiteral("JobTitle")};
    for (int i = 0; i < FieldCount; ++i) {
        if (names[i] == propertyName)
            return &text[size_t(i)];
    }
    return nullptr;
}
