#include "contacts/carddav/CardDavBooks.h"

#include "contacts/carddav/DavConnection.h"
#include "contacts/carddav/DavXml.h"
#include "contacts/vcard/VCardContact.h"
#include "platform/Failure.h"

#include <QLocale>

#include <optional>

#include <memory>

namespace {

const QByteArray Propfind = QByteArrayLiteral("PROPFIND");

Failure NoCardDavServer(const QUrl& address)
{
    return Failure(QStringLiteral("Unter \u201E%1\u201C antwortet kein CardDAV-Server. Bitte prüfen Sie die Adresse; "
                                  "bei Nextcloud lautet sie zum Beispiel https://cloud.example.de/remote.php/dav.")
                       .arg(address.toDisplayString(QUrl::RemoveUserInfo)));
}

Failure NoAddressBook(const QUrl& address)
{
    return Failure(QStringLiteral("Auf dem Server \u201E%1\u201C wurde für diesen Benutzer kein Adressbuch gefunden.")
                       .arg(ServerName(address)));
}

bool IsMultistatus(const DavConnection::Answer& answer)
{
    return answer.status == 207;
}

// The answer's resource for the address asked for: the one whose href is
// that address, or the only one.
const DavResource* Itself(const std::vector<DavResource>& resources, const QUrl& asked)
{
    for (const DavResource& resource : resources) {
        if (asked.resolved(QUrl(resource.href)).path() == asked.path())
            return &resource;
    }
    return resources.size() == 1 ? &resources.front() : nullptr;
}

// Depth 0 on one address; nullopt when it is no WebDAV resource.
std::optional<std::pair<DavResource, QUrl>> Describe(DavConnection& dav, const QUrl& url)
{
    const DavConnection::Answer answer = dav.Send(Propfind, url, 0, DavXml::PropfindDiscovery());
    if (!IsMultistatus(answer))
        return std::nullopt;
    const std::vector<DavResource> resources = ReadMultistatus(answer.body);
    const DavResource* itself = Itself(resources, answer.url);
    if (!itself)
        return std::nullopt;
    return std::make_pair(*itself, answer.url);
}

QString LastSegment(const QUrl& url)
{
    QString path = url.path(QUrl::FullyDecoded);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

DavBook BookAt(const QUrl& url, const QString& displayName)
{
    const QString segment = LastSegment(url);
    // Nextcloud's books of recently contacted people and of all users of
    // the server are offered, but not ticked.
    const bool generated = segment.startsWith(QLatin1String("z-app-generated--"))
                           || segment.startsWith(QLatin1String("z-server-generated--"));
    return {url, displayName.isEmpty() ? segment : displayName, !generated};
}

std::vector<DavBook> BooksIn(DavConnection& dav, const QUrl& home)
{
    const DavConnection::Answer answer = dav.Send(Propfind, home, 1, DavXml::PropfindBooks());
    if (!IsMultistatus(answer))
        return {};
    std::vector<DavBook> books;
    for (const DavResource& resource : ReadMultistatus(answer.body)) {
        if (resource.isAddressBook)
            books.push_back(BookAt(answer.url.resolved(QUrl(resource.href)), resource.displayName));
    }
    return books;
}

}

std::vector<DavBook> FindAddressBooks(DavConnection& dav, const QUrl& address)
{
    const bool bare = address.path().isEmpty() || address.path() == QLatin1String("/");
    std::optional<std::pair<DavResource, QUrl>> start;
    if (bare) {
        QUrl wellKnown = address;
        wellKnown.setPath(QStringLiteral("/.well-known/carddav"));
        start = Describe(dav, wellKnown);
    }
    if (!start)
        start = Describe(dav, address);
    if (!start)
        throw NoCardDavServer(address);
    const auto& [resource, url] = *start;
    if (resource.isAddressBook)
        return {BookAt(url, resource.displayName)};

    QUrl home = resource.homeSet.isEmpty() ? QUrl() : url.resolved(QUrl(resource.homeSet));
    if (home.isEmpty() && !resource.principal.isEmpty()) {
        if (const auto principal = Describe(dav, url.resolved(QUrl(resource.principal))); principal
            && !principal->first.homeSet.isEmpty())
            home = principal->second.resolved(QUrl(principal->first.homeSet));
    }
    // Without a home, the address may still hold books itself.
    std::vector<DavBook> books = BooksIn(dav, home.isEmpty() ? url : home);
    if (books.empty() && resource.principal.isEmpty() && resource.homeSet.isEmpty())
        throw NoCardDavServer(address);
    if (books.empty())
        throw NoAddressBook(address);
    return books;
}

ContactBook FetchAddressBook(DavConnection& dav, const DavBook& book)
{
    const QString where = book.url.toDisplayString(QUrl::RemoveUserInfo);
    const QString loading = QStringLiteral("Adressbuch \u201E%1\u201C wird gelesen").arg(book.name);
    dav.Report(loading + QStringLiteral(" \u2026"));
    auto contents = std::make_shared<BookContents>();
    try {
        qsizetype cards = 0;
        // Each card is read as soon as it is complete, while the rest is
        // still on its way.
        AddressDataReader reader([&](const QByteArray& card) {
            AppendCards(card, *contents);
            if (++cards % 500 == 0)
                dav.Report(QStringLiteral("%1: %2 Kontakte \u2026").arg(loading, QLocale(QLocale::German).toString(cards)));
        });
        const DavConnection::Answer answer = dav.Send(QByteArrayLiteral("REPORT"), book.url, 1,
                                                      DavXml::AddressBookQuery(),
                                                      [&reader](const QByteArray& chunk) { reader.AddData(chunk); });
        if (answer.status / 100 != 2)
            throw Failure(DescribeRequestFailure(book.url, QNetworkReply::NoError, answer.status, answer.reason, QString()));
        reader.Finish();
    } catch (const DavCancelled&) {
        throw;
    } catch (...) {
        const QString reason = CurrentFailureDescription();
        return {book.name, where, [reason]() -> BookContents { throw Failure(reason); }};
    }
    return {book.name, where, [contents] { return std::move(*contents); }};
}
