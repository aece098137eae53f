#pragma once

#include "contacts/ContactFields.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// What each source of contacts hands the import: the books it found, each
// with a reader that turns it into contacts.

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
