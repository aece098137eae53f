#pragma once

#include <QString>

class QSslCertificate;

// Certificates the user chose to trust although Qt does not (a home
// server's own certificate), remembered by their SHA-256 fingerprint for
// one host and port each, in the settings.

// "AB:CD:…", as the question shows it and the settings keep it.
QString CertificateFingerprint(const QSslCertificate& certificate);

// The fingerprint trusted for this host and port; empty for none.
QString TrustedFingerprint(const QString& host, int port);
void TrustFingerprint(const QString& host, int port, const QString& fingerprint);

// The warning when the server shows another certificate than the one
// trusted for it.
QString ChangedCertificateWarning(const QString& host, int port, const QString& trusted, const QString& shown);
