#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <functional>
#include <vector>

// The WebDAV and CardDAV XML a reading client sends and gets back. Answers
// are read with a namespace-aware reader: servers choose their own prefixes.

namespace DavXml {

// PROPFIND bodies.
QByteArray PropfindDiscovery(); // resourcetype, displayname, principal, home set
QByteArray PropfindBooks();     // resourcetype, displayname
// REPORT addressbook-query for every card's text.
QByteArray AddressBookQuery();

}

// One <response> of a multistatus answer, with the properties that came
// back with a 2xx status.
struct DavResource
{
    QString href;
    bool isAddressBook = false;
    QString displayName;
    QString principal; // href of current-user-principal
    QString homeSet;   // href of addressbook-home-set
};

// Every response of a multistatus answer. Throws a Failure when the text is
// not well-formed XML or no multistatus.
std::vector<DavResource> ReadMultistatus(const QByteArray& xml);

// Reads the answer to an addressbook-query piece by piece as it arrives and
// hands over each card's text as soon as its element is complete, so that
// neither the whole answer nor its XML is ever held at once.
class AddressDataReader
{
public:
    using CardHandler = std::function<void(const QByteArray& vcard)>;
    explicit AddressDataReader(CardHandler onCard);

    void AddData(const QByteArray& chunk);
    // After the last chunk: throws a Failure when the answer was not
    // well-formed or no multistatus.
    void Finish();

    qsizetype Cards() const { return m_cards; }

private:
    void Read();

    QXmlStreamReader m_xml;
    CardHandler m_onCard;
    QString m_text;
    bool m_inAddressData = false;
    bool m_sawMultistatus = false;
    qsizetype m_cards = 0;
};
