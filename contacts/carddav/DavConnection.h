#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <exception>
#include <functional>

// What the connection needs from the person at the screen while it works.
class DavQuestions
{
public:
    virtual ~DavQuestions() = default;
    // The server shows a certificate Qt does not trust and nobody trusted
    // for this host and port before: true to trust it from now on.
    virtual bool TrustCertificate(const QString& server, const QString& fingerprint, const QStringList& reasons) = 0;
    // What is happening now, for the progress window.
    virtual void Progress(const QString& text) = 0;
};

// The user cancelled, or declined a certificate: nothing to report.
struct DavCancelled
{
};

// Read-only requests to one CardDAV server, each sent and awaited in a
// local event loop so that the windows keep painting meanwhile. The
// password goes only to the server the user named; redirects are followed
// at most five times and never from https to http; a reply without any
// data for 30 seconds and one larger than the limit are given up. Failures
// are thrown as Failure with a German description once the loop has ended,
// never out of a slot.
class DavConnection : public QObject
{
public:
    struct Answer
    {
        int status = 0;
        QUrl url; // after redirects
        QString reason;
        QByteArray body; // empty when the body went to a chunk reader
    };
    using ChunkReader = std::function<void(const QByteArray& chunk)>;

    static constexpr qint64 DefaultResponseLimit = 512LL * 1024 * 1024;
    static constexpr int TimeoutMilliseconds = 30000;

    DavConnection(const QUrl& server, const QString& user, const QString& password, DavQuestions& questions);

    // Sends one request. 401, 403 and 5xx answers and network failures
    // throw; other statuses are returned for the caller to judge. With a
    // reader, a successful answer's body is handed over as it arrives
    // instead of being kept.
    Answer Send(const QByteArray& method, const QUrl& url, int depth, const QByteArray& body,
                const ChunkReader& reader = ChunkReader());

    // From the progress window's "Abbrechen": the request in flight ends
    // and Send throws DavCancelled.
    void Cancel();

    const QUrl& Server() const { return m_server; }
    // Passes a step on to the progress window.
    void Report(const QString& text) { m_questions.Progress(text); }

    // Tests lower the limit to see it at work.
    static void SetResponseLimit(qint64 bytes);

private:
    struct Exchange;
    Answer SendOnce(Exchange& exchange);
    bool MaySendPassword(const QUrl& url) const;
    void OnSslErrors(QNetworkReply* reply, const QList<QSslError>& errors, Exchange& exchange);

    QNetworkAccessManager m_network;
    QUrl m_server;
    QByteArray m_authorization;
    DavQuestions& m_questions;
    QNetworkReply* m_current = nullptr;
    bool m_cancelled = false;
};

// "host" or "host:port" as the user wrote the address, for messages.
QString ServerName(const QUrl& url);

// The German description of a request that failed: a network error, or an
// HTTP status the caller cannot go on with.
QString DescribeRequestFailure(const QUrl& url, QNetworkReply::NetworkError error, int status,
                               const QString& reason, const QString& errorText);
