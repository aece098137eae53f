#include "contacts/carddav/DavXml.h"

#include "platform/Failure.h"

namespace {

const QString Dav = QStringLiteral("DAV:");
const QString CardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");

bool Is(const QXmlStreamReader& xml, const QString& ns, QLatin1StringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

Failure NotWellFormed(const QXmlStreamReader& xml)
{
    return Failure(QStringLiteral("Die Antwort des Servers ist kein gültiges XML (Zeile %1: %2).")
                       .arg(xml.lineNumber())
                       .arg(xml.errorString()));
}

Failure NoMultistatus()
{
    return Failure(QStringLiteral("Die Antwort des Servers ist keine WebDAV-Antwort (multistatus). "
                                  "Ist die Adresse die eines CardDAV-Servers?"));
}

// The text of the <href> inside the current element, which is consumed.
QString InnerHref(QXmlStreamReader& xml)
{
    QString href;
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("href")))
            href = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        else
            xml.skipCurrentElement();
    }
    return href;
}

void ReadProp(QXmlStreamReader& xml, DavResource& found)
{
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("resourcetype"))) {
            while (xml.readNextStartElement()) {
                if (Is(xml, CardDav, QLatin1StringView("addressbook")))
                    found.isAddressBook = true;
                xml.skipCurrentElement();
            }
        } else if (Is(xml, Dav, QLatin1StringView("displayname"))) {
            found.displayName = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (Is(xml, Dav, QLatin1StringView("current-user-principal"))) {
            found.principal = InnerHref(xml);
        } else if (Is(xml, CardDav, QLatin1StringView("addressbook-home-set"))) {
            found.homeSet = InnerHref(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
}

// "HTTP/1.1 200 OK" and the like: properties under another status are
// ones the server does not have.
bool IsSuccess(const QString& status)
{
    const QStringList parts = status.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 && parts[1].startsWith(QLatin1Char('2'));
}

void ReadPropstat(QXmlStreamReader& xml, DavResource& resource)
{
    DavResource found;
    QString status = QStringLiteral("HTTP/1.1 200 OK");
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("prop")))
            ReadProp(xml, found);
        else if (Is(xml, Dav, QLatin1StringView("status")))
            status = xml.readElementText(QXmlStreamReader::SkipChildElements);
        else
            xml.skipCurrentElement();
    }
    if (!IsSuccess(status))
        return;
    resource.isAddressBook = resource.isAddressBook || found.isAddressBook;
    if (!found.displayName.isEmpty())
        resource.displayName = found.displayName;
    if (!found.principal.isEmpty())
        resource.principal = found.principal;
    if (!found.homeSet.isEmpty())
        resource.homeSet = found.homeSet;
}

DavResource ReadResponse(QXmlStreamReader& xml)
{
    DavResource resource;
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("href")))
            resource.href = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        else if (Is(xml, Dav, QLatin1StringView("propstat")))
            ReadPropstat(xml, resource);
        else
            xml.skipCurrentElement();
    }
    return resource;
}

}

namespace DavXml {

QByteArray PropfindDiscovery()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                             "<d:propfind xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
                             "<d:resourcetype/><d:displayname/><d:current-user-principal/>"
                             "<card:addressbook-home-set/></d:prop></d:propfind>");
}

QByteArray PropfindBooks()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                             "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:displayname/>"
                             "</d:prop></d:propfind>");
}

QByteArray AddressBookQuery()
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                             "<card:addressbook-query xmlns:d=\"DAV:\" xmlns:card=\"urn:ietf:params:xml:ns:carddav\">"
                             "<d:prop><d:getetag/><card:address-data/></d:prop></card:addressbook-query>");
}

}

std::vector<DavResource> ReadMultistatus(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    std::vector<DavResource> resources;
    if (!reader.readNextStartElement()) {
        if (reader.hasError())
            throw NotWellFormed(reader);
        throw NoMultistatus();
    }
    if (!Is(reader, Dav, QLatin1StringView("multistatus")))
        throw NoMultistatus();
    while (reader.readNextStartElement()) {
        if (Is(reader, Dav, QLatin1StringView("response")))
            resources.push_back(ReadResponse(reader));
        else
            reader.skipCurrentElement();
    }
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (reader.hasError())
        throw NotWellFormed(reader);
    return resources;
}

AddressDataReader::AddressDataReader(CardHandler onCard) : m_onCard(std::move(onCard)) {}

void AddressDataReader::AddData(const QByteArray& chunk)
{
    m_xml.addData(chunk);
    Read();
}

void AddressDataReader::Read()
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!m_sawMultistatus) {
                if (!Is(m_xml, Dav, QLatin1StringView("multistatus")))
                    throw NoMultistatus();
                m_sawMultistatus = true;
            } else if (Is(m_xml, CardDav, QLatin1StringView("address-data"))) {
                m_inAddressData = true;
                m_text.clear();
            }
            break;
        case QXmlStreamReader::Characters:
            if (m_inAddressData)
                m_text += m_xml.text();
            break;
        case QXmlStreamReader::EndElement:
            if (m_inAddressData && Is(m_xml, CardDav, QLatin1StringView("address-data"))) {
                m_inAddressData = false;
                if (!m_text.trimmed().isEmpty()) {
                    ++m_cards;
                    m_onCard(m_text.toUtf8());
                }
            }
            break;
        case QXmlStreamReader::Invalid:
            if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                return; // waits for the next chunk
            throw NotWellFormed(m_xml);
        default:
            break;
        }
    }
}

void AddressDataReader::Finish()
{
    if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        throw NotWellFormed(m_xml);
    if (!m_sawMultistatus)
        throw NoMultistatus();
    if (!m_xml.atEnd() || m_xml.hasError())
        throw Failure(QStringLiteral("Die Antwort des Servers brach vorzeitig ab: Das XML ist unvollständig."));
}
