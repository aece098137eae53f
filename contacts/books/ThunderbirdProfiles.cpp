#include "contacts/books/ThunderbirdProfiles.h"

#include "contacts/books/KeyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString ProfileFolder(const QString& root, const QString& path, bool relative)
{
    return relative ? QDir(root).filePath(path) : path;
}

QStringList ExistingFolders(const QStringList& folders)
{
    QStringList existing;
    for (const QString& folder : folders) {
        if (QFileInfo(folder).isDir() && !existing.contains(folder))
            existing.append(folder);
    }
    return existing;
}

// The Default= of the groups the filter accepts; paths relative to the
// home unless absolute.
template <typename Accept>
QStringList Defaults(const KeyFile& file, const QString& root, Accept accept)
{
    QStringList folders;
    for (const QString& group : file.Groups()) {
        const QString path = file.Value(group, QStringLiteral("Default"));
        if (accept(group) && !path.isEmpty())
            folders.append(ProfileFolder(root, path, !QDir::isAbsolutePath(path)));
    }
    return ExistingFolders(folders);
}

// A JavaScript string literal of prefs.js, without its quotes, unescaped.
QString Unescaped(QStringView literal)
{
    QString text;
    text.reserve(literal.size());
    for (qsizetype i = 0; i < literal.size(); ++i) {
        const QChar c = literal[i];
        if (c != QLatin1Char('\\') || i + 1 >= literal.size()) {
            text.append(c);
            continue;
        }
        const QChar next = literal[++i];
        const int hexDigits = next == QLatin1Char('u') ? 4 : next == QLatin1Char('x') ? 2 : 0;
        bool ok = false;
        const uint code = hexDigits ? literal.mid(i + 1, hexDigits).toUInt(&ok, 16) : 0;
        if (ok) {
            text.append(QChar(char16_t(code)));
            i += hexDigits;
        } else if (next == QLatin1Char('n')) {
            text.append(QLatin1Char('\n'));
        } else {
            text.append(next);
        }
    }
    return text;
}

// The ldap_2.servers.* preferences of prefs.js, by name, values unquoted.
QHash<QString, QString> BookPreferences(const QString& profile)
{
    static const QRegularExpression line(QString::fromLatin1(
        R"re(^\s*user_pref\(\s*"(ldap_2\.servers\.(?:[^"\\]|\\.)*)"\s*,\s*("(?:[^"\\]|\\.)*"|[^)\s]*)\s*\))re"));
    QHash<QString, QString> preferences;
    QFile file(QDir(profile).filePath(QStringLiteral("prefs.js")));
    if (!file.open(QIODevice::ReadOnly))
        return preferences;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        if (!raw.contains("ldap_2.servers."))
            continue;
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(raw));
        if (!match.hasMatch())
            continue;
        QStringView value = match.capturedView(2);
        if (value.startsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        preferences.insert(Unescaped(match.capturedView(1)), Unescaped(value));
    }
    return preferences;
}

constexpr int LocalBook = 101;
constexpr int CardDavBook = 102;

// The personal book is defined in Thunderbird's default preferences, which
// prefs.js repeats only where the user changed them; unless renamed it
// carries the name of the user's language.
const QString PersonalBook = QStringLiteral("pab");
const QString CollectedAddresses = QStringLiteral("history.sqlite");

}

QStringList ThunderbirdRoots()
{
    const QString home = QDir::homePath();
    return {home + QStringLiteral("/.thunderbird"), home + QStringLiteral("/snap/thunderbird/common/.thunderbird"),
            home + QStringLiteral("/.var/app/org.mozilla.Thunderbird/.thunderbird")};
}

QStringList ThunderbirdProfilesInUse(const QString& root)
{
    const auto any = [](const QString&) { return true; };
    if (QStringList folders = Defaults(KeyFile(root + QStringLiteral("/installs.ini")), root, any); !folders.isEmpty())
        return folders;

    const KeyFile profiles(root + QStringLiteral("/profiles.ini"));
    const auto install = [](const QString& group) { return group.startsWith(QLatin1String("Install")); };
    if (QStringList folders = Defaults(profiles, root, install); !folders.isEmpty())
        return folders;

    QStringList all;
    QStringList marked;
    for (const QString& group : profiles.Groups()) {
        const QString path = profiles.Value(group, QStringLiteral("Path"));
        if (!group.startsWith(QLatin1String("Profile")) || path.isEmpty())
            continue;
        const QString folder =
            ProfileFolder(root, path, profiles.Value(group, QStringLiteral("IsRelative")) == QLatin1String("1"));
        all.append(folder);
        if (profiles.Value(group, QStringLiteral("Default")) == QLatin1String("1"))
            marked.append(folder);
    }
    if (QStringList folders = ExistingFolders(marked); !folders.isEmpty())
        return folders;
    return all.size() == 1 ? ExistingFolders(all) : QStringList();
}

QList<ThunderbirdBook> ThunderbirdBooksOf(const QString& profile)
{
    const QHash<QString, QString> preferences = BookPreferences(profile);
    const QString prefix = QStringLiteral("ldap_2.servers.");
    auto preference = [&](const QString& id, const char* key) {
        return preferences.value(prefix + id + QLatin1Char('.') + QLatin1String(key));
    };

    QStringList ids{PersonalBook};
    for (auto it = preferences.cbegin(); it != preferences.cend(); ++it) {
        const QString id = it.key().mid(prefix.size()).section(QLatin1Char('.'), 0, 0);
        if (!ids.contains(id))
            ids.append(id);
    }
    // The personal book first, the others as the user arranged them.
    std::stable_sort(ids.begin() + 1, ids.end(), [&](const QString& a, const QString& b) {
        const int positionA = preference(a, "position").toInt();
        const int positionB = preference(b, "position").toInt();
        return positionA != positionB ? positionA < positionB : a < b;
    });

    QList<ThunderbirdBook> books;
    for (const QString& id : ids) {
        const bool personal = id == PersonalBook;
        QString fileName = preference(id, "filename");
        if (fileName.isEmpty() && personal)
            fileName = QStringLiteral("abook.sqlite");
        const QString dirType = preference(id, "dirType");
        const int type = dirType.isEmpty() ? LocalBook : dirType.toInt();
        if ((type != LocalBook && type != CardDavBook) || !fileName.endsWith(QLatin1String(".sqlite"))
            || fileName == CollectedAddresses)
            continue;
        QString name = preference(id, "description");
        if (name.isEmpty() || name.startsWith(QLatin1String("chrome://")))
            name = personal ? QStringLiteral("Persönliches Adressbuch") : id;
        const QString file = QDir(profile).filePath(fileName);
        if (QFileInfo::exists(file))
            books.append({name, file});
    }
    return books;
}
