#include "contacts/carddav/ServerAddress.h"

#include "platform/Failure.h"

#include <QHostAddress>

namespace {

bool IsOnDomain(const QString& host, QLatin1StringView domain)
{
    return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

}

QUrl CardDavAddress(const QString& typed)
{
    QString text = typed.trimmed();
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("https://"));
    QUrl url(text, QUrl::StrictMode);
    url.setUserInfo(QString());
    url.setFragment(QString());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        throw Failure(QStringLiteral("\u201E%1\u201C ist keine Server-Adresse. Geben Sie die Adresse so an, wie "
                                     "Sie sie im Browser aufrufen, zum Beispiel https://cloud.example.de.")
                          .arg(typed.trimmed()));
    url.setScheme(scheme);
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    RefuseGoogle(url);
    return url;
}

void RefuseGoogle(const QUrl& url)
{
    const QString host = url.host().toLower();
    if (!IsOnDomain(host, QLatin1StringView("google.com")) && !IsOnDomain(host, QLatin1StringView("googleapis.com")))
        return;
    throw Failure(QStringLiteral(
        "Google-Kontakte lassen sich nicht direkt vom Server lesen: Google verlangt dafür eine Anmeldung im "
        "Browser, die dieses Programm nicht vornimmt.\n\nExportieren Sie Ihre Kontakte stattdessen unter "
        "contacts.google.com (\u201EExportieren\u201C, als vCard oder als Outlook-CSV) und lesen Sie die Datei mit "
        "Datei \u203A Import \u203A vCard-Datei... oder Outlook-CSV-Datei... ein."));
}

bool IsUnencryptedToOtherMachine(const QUrl& url)
{
    if (url.scheme() != QLatin1String("http"))
        return false;
    const QString host = url.host().toLower();
    if (host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")))
        return false;
    const QHostAddress address(host);
    return address.isNull() || !address.isLoopback();
}
