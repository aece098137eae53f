#pragma once

#include "contacts/BookContents.h"
#include "contacts/vcard/VCardReader.h"

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

// For the readers of vCard text in books and files: a card as a contact,
// and every card of a text. A card without a UID of its own takes the one
// its store keeps beside it.
PackedContact ContactOfCard(const VCard& card, PackedTexts& texts, const QString& storeUid = QString());
void AppendCards(const QByteArray& vcardText, BookContents& contents, const QString& storeUid = QString());
