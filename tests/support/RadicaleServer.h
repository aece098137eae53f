#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

// A real Radicale CardDAV server (Debian's package) for the tests: on
// 127.0.0.1 at a free port, with its storage in a temporary folder and one
// user with a plain-text password; over https with a self-signed
// certificate made by openssl. Stopped when destroyed.
class RadicaleServer
{
public:
    enum class Transport { Http, Https };

    static const QString User;
    static const QString Password;

    explicit RadicaleServer(Transport transport = Transport::Http);
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // Why the server cannot run here (no radicale or openssl); empty when it can.
    static QString Missing();

    // Starts it (again, on the same port once it had one); false with the
    // reason in Error() when it does not answer.
    bool Start();
    void Stop();
    QString Error() const { return m_error; }

    // "http://127.0.0.1:PORT/".
    QUrl Address() const;
    QUrl BookAddress(const QString& book) const;

    // An address book of the user with these cards, written into the
    // storage as Radicale keeps it (one file per card).
    void AddBook(const QString& book, const QString& displayName, const QList<QByteArray>& cards);

    // A new self-signed certificate, used from the next start on; the
    // SHA-256 fingerprint of the current one as the program shows it.
    bool MakeCertificate();
    QString Fingerprint() const;

    // The cards and collection properties in the storage, file by file
    // (not Radicale's cache), to compare before and after.
    QMap<QString, QByteArray> Storage() const;

private:
    bool StartOnce();

    Transport m_transport;
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
};

// A vCard 3.0 card as a phone's address book keeps it.
QByteArray TestCard(const QString& uid, const QString& given, const QString& family, const QString& extra = QString());
