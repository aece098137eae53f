#include "contacts/carddav/CertificatePins.h"

#include "platform/Settings.h"

#include <QCryptographicHash>
#include <QSslCertificate>

namespace {

const QString AppName = QStringLiteral("Zidevavi");
const QString Section = QStringLiteral("CardDAV-Zertifikate");

QString Key(const QString& host, int port)
{
    return QStringLiteral("%1:%2").arg(host.toLower()).arg(port);
}

}

QString CertificateFingerprint(const QSslCertificate& certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

QString TrustedFingerprint(const QString& host, int port)
{
    return GetSetting(AppName, Section, Key(host, port), QString());
}

void TrustFingerprint(const QString& host, int port, const QString& fingerprint)
{
    SaveSetting(AppName, Section, Key(host, port), fingerprint);
}

QString ChangedCertificateWarning(const QString& host, int port, const QString& trusted, const QString& shown)
{
    return QStringLiteral("Achtung: Der Server \u201E%1\u201C zeigt ein anderes Zertifikat als das, dem Sie für ihn "
                          "vertraut haben. Die Verbindung wurde nicht aufgebaut.\n\nVertraut:\n%2\n\nJetzt gezeigt:\n%3"
                          "\n\nDas kann heißen, dass jemand die Verbindung abfängt. Nur wenn der Betreiber des Servers "
                          "bestätigt, dass er das Zertifikat erneuert hat, löschen Sie in den Einstellungen des "
                          "Programms im Abschnitt [%4] den Eintrag für \u201E%1\u201C; dann wird wieder gefragt.")
        .arg(Key(host, port), trusted, shown, Section);
}
