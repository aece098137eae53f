#pragma once

#include "platform/ContactFields.h"
#include "platform/vcard/VCardReader.h"

// A card seen as a contact: the type name and the contact properties the
// import reads, taken from the card's lines once when it is read. A group
// card is a distribution list.
class VCardContact : public ContactFields
{
public:
    explicit VCardContact(const VCard& card);

private:
    void ReadName(const VCard& card, const QString& company);
    void ReadAddress(const VCard& card);
    void ReadTelephones(const VCard& card);
    void ReadInternet(const VCard& card);
    QString ReadOrganization(const VCard& card);
    void ReadGender(const VCard& card);
};
