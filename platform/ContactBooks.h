#pragma once

#include "platform/ContactFields.h"
#include "platform/ContactStore.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <vector>

struct VCard;

// The contact store over the user's address books. Each place contacts come
// from (the vCard folder, Evolution, Thunderbird, one chosen file) is a
// reader in a file of its own that finds its books and turns each into
// contacts; this layer reads them all into the one contacts folder the
// import enumerates, and reports the books it had to leave out.

// A book, or a file of one, that could not be read.
struct SkippedBook
{
    QString name; // as the user knows it
    QString file;
    QString reason; // German
};

struct BookContents
{
    PackedTexts texts; // the contacts' texts
    std::vector<PackedContact> contacts;
    // Parts a reader left out on its own, reading the rest.
    std::vector<SkippedBook> skipped;
};

struct ContactBook
{
    QString name;
    QString file;
    // Throws a Failure whose description says why the book cannot be read.
    std::function<BookContents()> read;
};

// What a reader found, and where it looked (one line per place, for the
// message when no reader finds any book).
struct FoundBooks
{
    QStringList places;
    std::vector<ContactBook> books;
};

// The contacts folder over the books, in their order. Items() reads every
// book; a contact whose UID an earlier one had is left out, and so is a
// book that fails, named in SkippedBooksReport(). Only when no book can be
// read at all does Items() fail.
ContactApplicationRef CreateBookApplication(std::vector<ContactBook> books);

// For readers of vCard text: a card as a contact, and every card of a text.
// A card without a UID of its own takes the one its store keeps beside it.
PackedContact ContactOfCard(const VCard& card, PackedTexts& texts, const QString& storeUid = QString());
void AppendCards(const QByteArray& vcardText, BookContents& contents, const QString& storeUid = QString());

// The German message that names each skipped book and why.
QString SkippedBooksMessage(const std::vector<SkippedBook>& skipped);
