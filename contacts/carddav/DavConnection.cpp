#include "contacts/carddav/DavConnection.h"

#include "contacts/carddav/CertificatePins.h"
#include "contacts/carddav/ServerAddress.h"
#include "platform/Failure.h"

#include <QEventLoop>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>

#include <memory>

namespace {

qint64 g_responseLimit = DavConnection::DefaultResponseLimit;

constexpr int MaxRedirects = 5;

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

int DefaultPort(const QUrl& url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

QString Megabytes(qint64 bytes)
{
    return QString::number(bytes / (1024 * 1024));
}

}

struct DavConnection::Exchange
{
    QByteArray method;
    QUrl url;
    int depth = 0;
    QByteArray body;
    ChunkReader reader;

    Answer answer;
    qint64 received = 0;
    bool tooLarge = false;
    bool timedOut = false;
    bool declined = false;
    QString changedCertificate; // the warning, when a trusted certificate was replaced
    std::exception_ptr readerFailure;
};

DavConnection::DavConnection(const QUrl& server, const QString& user, const QString& password,
                             DavQuestions& questions)
    : m_server(server), m_questions(questions)
{
    m_authorization = "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

void DavConnection::SetResponseLimit(qint64 bytes)
{
    g_responseLimit = bytes > 0 ? bytes : DefaultResponseLimit;
}

void DavConnection::Cancel()
{
    m_cancelled = true;
    if (m_current)
        m_current->abort();
}

bool DavConnection::MaySendPassword(const QUrl& url) const
{
    if (url.host().compare(m_server.host(), Qt::CaseInsensitive) != 0)
        return false;
    // The same server, or its encrypted side.
    return DefaultPort(url) == DefaultPort(m_server)
           || (url.scheme() == QLatin1String("https") && m_server.scheme() == QLatin1String("http"));
}

DavConnection::Answer DavConnection::Send(const QByteArray& method, const QUrl& url, int depth,
                                          const QByteArray& body, const ChunkReader& reader)
{
    Exchange exchange{method, url, depth, body, reader, {}, 0, false, false, false, {}, {}};
    for (int redirects = 0;; ++redirects) {
        Answer answer = SendOnce(exchange);
        if (!IsRedirect(answer.status))
            return answer;
        const QUrl target = exchange.url.resolved(answer.url);
        const QString server = ServerName(url);
        if (redirects == MaxRedirects)
            throw Failure(QStringLiteral("Der Server \u201E%1\u201C leitet mehr als %2-mal weiter. Bitte geben Sie "
                                         "die Adresse an, bei der die Weiterleitungen enden.")
                              .arg(server)
                              .arg(MaxRedirects));
        if (exchange.url.scheme() == QLatin1String("https") && target.scheme() != QLatin1String("https"))
            throw Failure(QStringLiteral("Der Server \u201E%1\u201C leitet von einer verschlüsselten auf eine "
                                         "unverschlüsselte Adresse weiter (%2). Dem folgt das Programm nicht.")
                              .arg(server, target.toDisplayString(QUrl::RemoveUserInfo)));
        if (target.scheme() != QLatin1String("http") && target.scheme() != QLatin1String("https"))
            throw Failure(QStringLiteral("Der Server \u201E%1\u201C leitet auf eine Adresse weiter, die keine "
                                         "Web-Adresse ist (%2).")
                              .arg(server, target.toDisplayString(QUrl::RemoveUserInfo)));
        RefuseGoogle(target);
        exchange.url = target;
        exchange.received = 0;
    }
}

DavConnection::Answer DavConnection::SendOnce(Exchange& exchange)
{
    if (m_cancelled)
        throw DavCancelled();
    QNetworkRequest request(exchange.url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Depth", QByteArray::number(exchange.depth));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/xml; charset=utf-8"));
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Zidevavi"));
    if (MaySendPassword(exchange.url))
        request.setRawHeader("Authorization", m_authorization);

    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        m_network.sendCustomRequest(request, exchange.method, exchange.body),
        [](QNetworkReply* r) {
            r->disconnect();
            r->deleteLater();
        });
    m_current = reply.get();
    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(TimeoutMilliseconds);
    QByteArray kept;

    auto statusNow = [&] { return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(); };
    QObject::connect(&silence, &QTimer::timeout, reply.get(), [&] {
        exchange.timedOut = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, reply.get(), [&] {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (announced > g_responseLimit) {
            exchange.tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), [&] {
        silence.start();
        const QByteArray chunk = reply->readAll();
        exchange.received += chunk.size();
        if (exchange.received > g_responseLimit) {
            exchange.tooLarge = true;
            reply->abort();
            return;
        }
        if (statusNow() / 100 != 2)
            return;
        if (!exchange.reader) {
            kept.append(chunk);
            return;
        }
        // A reader's failure (XML that is not well-formed) must not leave
        // through the event loop: it ends the reply and is thrown after.
        try {
            exchange.reader(chunk);
        } catch (...) {
            exchange.readerFailure = std::current_exception();
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::uploadProgress, &silence, [&] { silence.start(); });
    QObject::connect(reply.get(), &QNetworkReply::sslErrors, reply.get(), [&](const QList<QSslError>& errors) {
        silence.stop();
        OnSslErrors(reply.get(), errors, exchange);
        silence.start();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    silence.start();
    if (!reply->isFinished())
        loop.exec();
    m_current = nullptr;

    if (m_cancelled || exchange.declined)
        throw DavCancelled();
    if (exchange.readerFailure)
        std::rethrow_exception(exchange.readerFailure);
    if (!exchange.changedCertificate.isEmpty())
        throw Failure(exchange.changedCertificate);
    if (exchange.tooLarge)
        throw Failure(QStringLiteral("Die Antwort des Servers \u201E%1\u201C ist größer als %2 MB. So große Antworten "
                                     "liest das Programm nicht, damit der Speicher reicht.")
                          .arg(ServerName(exchange.url), Megabytes(g_responseLimit)));
    const int status = statusNow();
    if (exchange.timedOut)
        throw Failure(DescribeRequestFailure(exchange.url, QNetworkReply::TimeoutError, 0, QString(), QString()));
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (status == 0 || status == 401 || status == 403 || status >= 500)
        throw Failure(DescribeRequestFailure(exchange.url, reply->error(), status, reason, reply->errorString()));

    kept.append(reply->readAll());
    Answer answer;
    answer.status = status;
    answer.reason = reason;
    answer.url = IsRedirect(status) ? reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl()
                                    : exchange.url;
    if (IsRedirect(status) && answer.url.isEmpty())
        answer.url = QUrl(QString::fromUtf8(reply->rawHeader("Location")));
    if (status / 100 == 2 && !exchange.reader)
        answer.body = std::move(kept);
    return answer;
}

void DavConnection::OnSslErrors(QNetworkReply* reply, const QList<QSslError>& errors, Exchange& exchange)
{
    const QSslCertificate certificate = reply->sslConfiguration().peerCertificate();
    if (certificate.isNull())
        return; // Qt's own check stands and ends the reply
    const QString host = exchange.url.host();
    const int port = DefaultPort(exchange.url);
    const QString fingerprint = CertificateFingerprint(certificate);
    const QString trusted = TrustedFingerprint(host, port);
    if (!trusted.isEmpty()) {
        if (trusted == fingerprint)
            reply->ignoreSslErrors(errors);
        else
            exchange.changedCertificate = ChangedCertificateWarning(host, port, trusted, fingerprint);
        return;
    }
    QStringList reasons;
    for (const QSslError& error : errors)
        reasons.append(error.errorString());
    reasons.removeDuplicates();
    bool trust = false;
    try {
        trust = m_questions.TrustCertificate(QStringLiteral("%1:%2").arg(host).arg(port), fingerprint, reasons);
    } catch (...) {
        trust = false;
    }
    if (!trust) {
        exchange.declined = true;
        return;
    }
    TrustFingerprint(host, port, fingerprint);
    reply->ignoreSslErrors(errors);
}

QString ServerName(const QUrl& url)
{
    return url.port() > 0 ? QStringLiteral("%1:%2").arg(url.host()).arg(url.port()) : url.host();
}

QString DescribeRequestFailure(const QUrl& url, QNetworkReply::NetworkError error, int status,
                               const QString& reason, const QString& errorText)
{
    const QString server = ServerName(url);
    if (status == 401 || status == 403)
        return QStringLiteral("Der Server \u201E%1\u201C hat die Anmeldung abgelehnt (%2 %3). Bitte prüfen Sie "
                              "Benutzername und Kennwort; manche Anbieter verlangen dafür ein eigenes "
                              "App-Kennwort.")
            .arg(server)
            .arg(status)
            .arg(reason)
            .simplified();
    if (status >= 500)
        return QStringLiteral("Der Server \u201E%1\u201C meldet einen Fehler: %2 %3. Bitte versuchen Sie es später "
                              "noch einmal.")
            .arg(server)
            .arg(status)
            .arg(reason)
            .simplified();
    if (status >= 400)
        return QStringLiteral("Der Server \u201E%1\u201C hat die Anfrage abgelehnt: %2 %3.")
            .arg(server)
            .arg(status)
            .arg(reason)
            .simplified();
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Der Server \u201E%1\u201C wurde nicht gefunden. Bitte prüfen Sie die Adresse und die "
                              "Verbindung zum Netz.")
            .arg(url.host());
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Der Server \u201E%1\u201C antwortet nicht: Die Verbindung wurde abgewiesen. Läuft der "
                              "Server, und stimmt die Adresse samt Port?")
            .arg(server);
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("Der Server \u201E%1\u201C antwortet nicht: %2 Sekunden lang kam keine Antwort. Bitte "
                              "prüfen Sie die Adresse und die Verbindung zum Netz.")
            .arg(server)
            .arg(DavConnection::TimeoutMilliseconds / 1000);
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("Der Server \u201E%1\u201C hat die Verbindung unerwartet beendet.").arg(server);
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Mit dem Server \u201E%1\u201C kam keine sichere Verbindung zustande: %2")
            .arg(server, errorText);
    default:
        return QStringLiteral("Die Verbindung zum Server \u201E%1\u201C ist fehlgeschlagen: %2").arg(server, errorText);
    }
}
