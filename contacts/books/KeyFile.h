#pragma once

#include <QHash>
#include <QList>
#include <QString>

// A key file as desktop programs write their settings ("[Group]" lines,
// then "Key=Value" lines; "#" and ";" start comments): Evolution's source
// files and Thunderbird's profiles.ini and installs.ini. Values are kept
// as written. A file that cannot be read is an empty key file.
class KeyFile
{
public:
    explicit KeyFile(const QString& path);

    bool HasGroup(const QString& group) const { return m_groups.contains(group); }
    // The groups in file order.
    const QList<QString>& Groups() const { return m_order; }
    QString Value(const QString& group, const QString& key) const { return m_groups.value(group).value(key); }

private:
    QList<QString> m_order;
    QHash<QString, QHash<QString, QString>> m_groups;
};
