#include "contacts/books/KeyFile.h"

#include <QFile>

KeyFile::KeyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString group;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            if (!m_groups.contains(group))
                m_order.append(group);
            m_groups[group];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !group.isEmpty())
            m_groups[group].insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
}
