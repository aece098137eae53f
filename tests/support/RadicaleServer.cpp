#include "RadicaleServer.h"

#include "contacts/carddav/CertificatePins.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

const QString RadicaleServer::User = QStringLiteral("anna");
const QString RadicaleServer::Password = QStringLiteral("Ge-heim 42!");

namespace {

const QString Radicale = QStringLiteral("/usr/bin/radicale");

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}

RadicaleServer::RadicaleServer(Transport transport) : m_transport(transport)
{
    WriteFile(m_dir.filePath(QStringLiteral("users")), (User + QLatin1Char(':') + Password + QLatin1Char('\n')).toUtf8());
    QDir().mkpath(m_dir.filePath(QStringLiteral("storage/collection-root/") + User));
    if (m_transport == Transport::Https)
        MakeCertificate();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
}

RadicaleServer::~RadicaleServer()
{
    Stop();
}

QString RadicaleServer::Missing()
{
    if (!QFileInfo(Radicale).isExecutable())
        return QStringLiteral("radicale is not installed (scripts/setup.sh installs it)");
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        return QStringLiteral("openssl is not installed (scripts/setup.sh installs it)");
    return QString();
}

bool RadicaleServer::MakeCertificate()
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                   QStringLiteral("-nodes"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-keyout"), m_dir.filePath(QStringLiteral("key.pem")),
                   QStringLiteral("-out"), m_dir.filePath(QStringLiteral("cert.pem"))});
    return openssl.waitForFinished(60000) && openssl.exitCode() == 0;
}

QString RadicaleServer::Fingerprint() const
{
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(m_dir.filePath(QStringLiteral("cert.pem")));
    return certificates.isEmpty() ? QString() : CertificateFingerprint(certificates.first());
}

bool RadicaleServer::Start()
{
    if (m_port == 0)
        m_port = FreePort();
    if (StartOnce())
        return true;
    // Someone took the port meanwhile: once more on another.
    m_port = FreePort();
    return StartOnce();
}

bool RadicaleServer::StartOnce()
{
    QString config = QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n").arg(m_port);
    if (m_transport == Transport::Https)
        config += QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n")
                      .arg(m_dir.filePath(QStringLiteral("cert.pem")), m_dir.filePath(QStringLiteral("key.pem")));
    config += QStringLiteral("[auth]\ntype = htpasswd\nhtpasswd_filename = %1\nhtpasswd_encryption = plain\ndelay = 0\n"
                             "[rights]\ntype = owner_only\n[storage]\nfilesystem_folder = %2\n[web]\ntype = none\n"
                             "[logging]\nlevel = critical\n")
                  .arg(m_dir.filePath(QStringLiteral("users")), m_dir.filePath(QStringLiteral("storage")));
    WriteFile(m_dir.filePath(QStringLiteral("config")), config.toUtf8());
    m_process.start(Radicale, {QStringLiteral("--config"), m_dir.filePath(QStringLiteral("config"))});
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        if (m_process.state() != QProcess::Running) {
            m_error = QStringLiteral("radicale ended at start");
            return false;
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    m_error = QStringLiteral("radicale does not answer on port %1").arg(m_port);
    Stop();
    return false;
}

void RadicaleServer::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QUrl RadicaleServer::Address() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(m_transport == Transport::Https ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(m_port));
}

QUrl RadicaleServer::BookAddress(const QString& book) const
{
    return Address().resolved(QUrl(User + QLatin1Char('/') + book + QLatin1Char('/')));
}

void RadicaleServer::AddBook(const QString& book, const QString& displayName, const QList<QByteArray>& cards)
{
    const QString folder = m_dir.filePath(QStringLiteral("storage/collection-root/%1/%2/").arg(User, book));
    WriteFile(folder + QStringLiteral(".Radicale.props"),
              QStringLiteral("{\"D:displayname\": \"%1\", \"tag\": \"VADDRESSBOOK\"}").arg(displayName).toUtf8());
    for (qsizetype i = 0; i < cards.size(); ++i)
        WriteFile(folder + QStringLiteral("karte-%1.vcf").arg(i), cards[i]);
}

QMap<QString, QByteArray> RadicaleServer::Storage() const
{
    QMap<QString, QByteArray> files;
    const QString root = m_dir.filePath(QStringLiteral("storage"));
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (relative.contains(QLatin1String(".Radicale.cache"))
            || (!relative.endsWith(QLatin1String(".vcf")) && !relative.endsWith(QLatin1String(".Radicale.props"))))
            continue;
        QFile file(path);
        files.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return files;
}

QByteArray TestCard(const QString& uid, const QString& given, const QString& family, const QString& extra)
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nN:%3;%2;;;\r\nFN:%2 %3\r\n%4END:VCARD\r\n")
        .arg(uid, given, family, extra)
        .toUtf8();
}
