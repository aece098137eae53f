#pragma once

#include "contacts/BookContents.h"
#include "contacts/vcard/VCardReader.h"

// What an address's extended part is. Most programs put a building or a
// room there, a line that comes before the street in a German address;
// Thunderbird keeps its second address line ("Address 2") there, which
// comes after the street.
enum class ExtendedAddress { BeforeStreet, AfterStreet };

// A card seen as a contact: the type name and the contact properties the
// import reads, taken from the card's lines once when it is read. A group
// card is a distribution list.
class VCardContact : public ContactFields
{
public:
    explicit VCardContact(const VCard& card, ExtendedAddress extended = ExtendedAddress::BeforeStreet);

private:
    void ReadName(const VCard& card, const QString& company);
    void ReadAddress(const VCard& card, ExtendedAddress extended);
    void ReadTelephones(const VCard& card);
    void ReadInternet(const VCard& card);
    QString ReadOrganization(const VCard& card);
    void ReadGender(const VCard& card);
};

// For the readers of vCard text in books and files: a card as a contact,
// and every card of a text. A card without a UID of its own takes the one
// its store keeps beside it.
PackedContact ContactOfCard(const VCard& card, PackedTexts& texts, const QString& storeUid = QString(),
                            ExtendedAddress extended = ExtendedAddress::BeforeStreet);
void AppendCards(const QByteArray& vcardText, BookContents& contents, const QString& storeUid = QString(),
                 ExtendedAddress extended = ExtendedAddress::BeforeStreet);

// Every card of a vCard file's bytes. Throws a Failure saying so when they
// hold no card at all: a file that is no vCard (or one in an encoding not
// understood) must not come in as an empty book without a word.
void AppendCardsOfFile(const QByteArray& fileBytes, BookContents& contents);
