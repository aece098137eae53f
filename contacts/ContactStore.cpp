#include "contacts/ContactStore.h"

#include "contacts/ContactBooks.h"
#include "contacts/EvolutionContactStore.h"
#include "contacts/EvolutionServerContactStore.h"
#include "contacts/OutlookCsvContactStore.h"
#include "contacts/ThunderbirdContactStore.h"
#include "contacts/VCardContactStore.h"
#include "platform/Failure.h"

namespace {

ContactStoreFactory& ReplacementFactory()
{
    static ContactStoreFactory factory;
    return factory;
}

// The places a Linux desktop keeps address books. A contact found in two
// of them comes from the first.
constexpr FoundBooks (*DesktopBookReaders[])() = {FindVCardFolder, FindEvolutionBooks, FindEvolutionServerBooks,
                                                   FindThunderbirdBooks};

std::vector<ContactBook> DesktopBooks()
{
    std::vector<ContactBook> books;
    QStringList places;
    for (const auto find : DesktopBookReaders) {
        FoundBooks found = find();
        places += found.places;
        std::move(found.books.begin(), found.books.end(), std::back_inserter(books));
    }
    if (books.empty())
        throw Failure(QStringLiteral("Es wurde kein Adressbuch gefunden. Gesucht wurde hier:\n%1\n\nLegen Sie Ihre "
                                     "Kontakte in Evolution oder Thunderbird an, oder legen Sie sie als vCard-Dateien "
                                     "(*.vcf) in den ersten dieser Ordner.")
                          .arg(places.join(QLatin1Char('\n'))));
    return books;
}

}

ContactApplicationRef CreateContactApplication(const QString& source, ContactFileFormat format)
{
    if (const ContactStoreFactory& factory = ReplacementFactory())
        return factory(source);
    if (source.isEmpty())
        return CreateBookApplication(DesktopBooks());
    const bool csv = format == ContactFileFormat::OutlookCsv;
    return CreateBookApplication({csv ? OutlookCsvBook(source) : VCardFileBook(source)});
}

void SetContactStoreFactory(ContactStoreFactory factory)
{
    ReplacementFactory() = std::move(factory);
}
