#include "platform/vcard/VCardContact.h"

#include "platform/vcard/VCardText.h"

namespace {

// The components of N and ADR, by position.
enum NamePart { Family, Given, Additional, Prefix, NameSuffix };
enum AddressPart { PoBox, Extended, Street, Locality, Region, PostalCode, Country };

QString Component(const QStringList& components, int index)
{
    return index < components.size() ? components[index] : QString();
}

QString JoinNonEmpty(const QStringList& parts, const QString& separator)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            kept.append(part.trimmed());
    }
    return kept.join(separator);
}

QString TextOf(const VCardProperty* property)
{
    return property ? UnescapeVCardText(property->value) : QString();
}

bool IsGroupCard(const VCard& card)
{
    for (const VCardProperty& property : card.properties) {
        if (property.name == "MEMBER" || property.name == "X-ADDRESSBOOKSERVER-MEMBER")
            return true;
        if ((property.name == "KIND" || property.name == "X-ADDRESSBOOKSERVER-KIND")
            && property.value.trimmed().compare(QLatin1String("group"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// vCard 4 writes telephone numbers as "tel:" links.
QString TelephoneNumber(const VCardProperty& property)
{
    QString number = UnescapeVCardText(property.value);
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number.remove(0, 4);
    return number;
}

}

VCardContact::VCardContact(const VCard& card)
{
    if (IsGroupCard(card))
        typeName = QStringLiteral("DistListItem");
    ReadName(card);
    ReadAddress(card);
    ReadTelephones(card);
    ReadInternet(card);
    ReadOrganization(card);
    ReadGender(card);
    text[JobTitle] = TextOf(card.First("TITLE"));
}

void VCardContact::ReadName(const VCard& card)
{
    const VCardProperty* n = card.First("N");
    const QStringList name = n ? SplitVCardComponents(n->value) : QStringList();
    text[Title] = Component(name, Prefix);
    text[FirstName] = Component(name, Given);
    text[LastName] = Component(name, Family);
    text[Suffix] = Component(name, NameSuffix);
    text[LastFirstSpaceOnly] = JoinNonEmpty(
        {Component(name, Family), Component(name, Given), Component(name, Additional)}, QStringLiteral(" "));

    QString fullName = TextOf(card.First("FN")).trimmed();
    if (fullName.isEmpty()) {
        fullName = JoinNonEmpty({Component(name, Prefix), Component(name, Given), Component(name, Additional),
                                 Component(name, Family), Component(name, NameSuffix)},
                                QStringLiteral(" "));
    }
    if (fullName.isEmpty()) {
        if (const VCardProperty* org = card.First("ORG"))
            fullName = SplitVCardComponents(org->value).constFirst().trimmed();
    }
    text[FullName] = fullName;
}

void VCardContact::ReadAddress(const VCard& card)
{
    const VCardProperty* business = nullptr;
    const VCardProperty* untyped = nullptr;
    for (const VCardProperty& property : card.properties) {
        if (property.name != "ADR")
            continue;
        if (property.HasType("WORK")) {
            business = &property;
            break;
        }
        if (!untyped && !property.HasType("HOME") && !property.HasType("OTHER"))
            untyped = &property;
    }
    if (!business)
        business = untyped;
    if (!business)
        return;

    const QStringList address = SplitVCardComponents(business->value);
    const QString poBox = Component(address, PoBox);
    const QString street = Component(address, Street);
    text[BusinessAddressStreet] =
        poBox.isEmpty() ? street : (street.isEmpty() ? poBox : poBox + QLatin1Char('\n') + street);
    text[BusinessAddressCity] = Component(address, Locality);
    text[BusinessAddressPostalCode] = Component(address, PostalCode);
    text[BusinessAddressCountry] = Component(address, Country);
}

void VCardContact::ReadTelephones(const VCard& card)
{
    int businessCount = 0;
    QString otherFax;
    for (const VCardProperty& property : card.properties) {
        if (property.name != "TEL")
            continue;
        const bool work = property.HasType("WORK");
        const bool fax = property.HasType("FAX");
        const bool cell = property.HasType("CELL");
        if (work && !fax && !cell && !property.HasType("PAGER") && businessCount < 2)
            text[businessCount++ == 0 ? BusinessTelephoneNumber : Business2TelephoneNumber] =
                TelephoneNumber(property);
        if (cell && text[MobileTelephoneNumber].isEmpty())
            text[MobileTelephoneNumber] = TelephoneNumber(property);
        if (work && fax && text[BusinessFaxNumber].isEmpty())
            text[BusinessFaxNumber] = TelephoneNumber(property);
        if (fax && !work && !property.HasType("HOME") && otherFax.isEmpty())
            otherFax = TelephoneNumber(property);
    }
    if (text[BusinessFaxNumber].isEmpty())
        text[BusinessFaxNumber] = otherFax;
}

void VCardContact::ReadInternet(const VCard& card)
{
    const VCardProperty* firstEmail = nullptr;
    const VCardProperty* preferredEmail = nullptr;
    const VCardProperty* workUrl = nullptr;
    const VCardProperty* otherUrl = nullptr;
    int otherUrlCount = 0;
    for (const VCardProperty& property : card.properties) {
        if (property.name == "EMAIL") {
            if (!firstEmail)
                firstEmail = &property;
            if (!preferredEmail && property.HasType("PREF"))
                preferredEmail = &property;
        } else if (property.name == "URL") {
            if (!workUrl && property.HasType("WORK"))
                workUrl = &property;
            else if (!property.HasType("HOME") && otherUrlCount++ == 0)
                otherUrl = &property;
        }
    }
    text[Email1Address] = TextOf(preferredEmail ? preferredEmail : firstEmail);
    // Without a work address, a single untyped one is taken; of several the
    // program cannot tell which is the business page.
    text[BusinessHomePage] = TextOf(workUrl ? workUrl : (otherUrlCount == 1 ? otherUrl : nullptr));
}

void VCardContact::ReadOrganization(const VCard& card)
{
    const VCardProperty* org = card.First("ORG");
    if (!org)
        return;
    QStringList units = SplitVCardComponents(org->value);
    units.removeFirst();
    text[Department] = JoinNonEmpty(units, QStringLiteral("; "));
}

void VCardContact::ReadGender(const VCard& card)
{
    if (const VCardProperty* property = card.First("GENDER")) {
        const QString sex = SplitVCardComponents(property->value).constFirst().trimmed().toUpper();
        gender = sex == QLatin1String("M") ? 2 : sex == QLatin1String("F") ? 1 : 0;
        return;
    }
    if (const VCardProperty* wabGender = card.First("X-WAB-GENDER")) {
        const int value = wabGender->value.trimmed().toInt();
        gender = value == 1 || value == 2 ? value : 0;
    }
}
