#pragma once

#include "contacts/BookContents.h"

#include <QUrl>

#include <vector>

class DavConnection;

// An address book on a CardDAV server.
struct DavBook
{
    QUrl url;
    QString name;        // its display name, or the last part of its address
    bool proposed = true; // ticked in the list; not for a server's generated books
};

// The user's address books, found as CardDAV clients find them: from a
// server address through /.well-known/carddav, the current user's
// principal and its address-book home; an address book's own address is
// taken as it is. Throws a Failure when there is no CardDAV server or no
// address book there.
std::vector<DavBook> FindAddressBooks(DavConnection& dav, const QUrl& address);

// Reads every card of the book now, as it arrives, and returns the book
// that hands them to the import. A failure (other than a cancel) is kept
// and thrown when the import reads the book, so that it is named among the
// books left out while the others are imported.
ContactBook FetchAddressBook(DavConnection& dav, const DavBook& book);
