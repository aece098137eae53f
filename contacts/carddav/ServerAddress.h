#pragma once

#include <QString>
#include <QUrl>

// The address the user typed, checked before anything is sent.

// "cloud.example.de" becomes "https://cloud.example.de"; user and password
// written into the address are dropped (they would end up in messages and
// settings). Throws a Failure for an address that is no web address, and
// for Google's servers (see RefuseGoogle).
QUrl CardDavAddress(const QString& typed);

// Google's contacts need a sign-in in the browser, which this program does
// not do: an address there is refused with a message pointing to Google's
// export.
void RefuseGoogle(const QUrl& url);

// True for http to anything but this machine: the password would travel
// unencrypted, which the user is asked about first.
bool IsUnencryptedToOtherMachine(const QUrl& url);
