#include "ProcessMemory.h"

#include <QByteArray>
#include <QFile>

#include <cstring>

#include <fcntl.h>
#include <unistd.h>

double StatusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

bool ResetPeak()
{
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
    if (fd < 0)
        return false;
    const bool done = ::write(fd, "5", 1) == 1;
    ::close(fd);
    return done;
}
