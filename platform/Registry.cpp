#include "platform/Registry.h"

#include <QFile>
#include <QSet>
#include <QStandardPaths>

#include <cstring>

using namespace RegistryConstants;

namespace {

// Without a Windows registry, the machine answers one question: where the
// system-information program is. The key path under HKEY_LOCAL_MACHINE and
// the value name are matched without regard to case, as Windows does.
const QByteArray SystemInformationKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray SystemInformationValue = "PATH";

// The system-information programs of the Linux desktops, most complete first;
// the first one installed on the search path stands in for MSINFO32.
const char* const SystemInformationPrograms[] = {
    "hardinfo2",            // HardInfo 2: hardware, operating system, devices
    "hardinfo",             // its predecessor, still packaged by many distributions
    "kinfocenter",          // KDE Info Center
    "cpu-x",                // CPU-X: processor, memory and system summary
    "gnome-system-monitor", // GNOME: at least the system's resources
};

QString FindSystemInformationProgram()
{
    for (const char* name : SystemInformationPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool SameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

class MachineRegistry final : public Registry
{
public:
    // The view is read-only whatever access is asked for: nothing here ever
    // writes, so there is no right to refuse.
    Result RegOpenKeyEx(HKEY keyRoot, const QByteArray& keyName, std::uint32_t, HKEY* result) override
    {
        if (keyRoot != HKEY_LOCAL_MACHINE || !SameName(keyName, SystemInformationKey))
            return ERROR_FILE_NOT_FOUND;
        *result = m_nextHandle++;
        m_openKeys.insert(*result);
        return ERROR_SUCCESS;
    }

    Result RegQueryValueEx(HKEY key, const QByteArray& valueName, std::uint32_t* type, unsigned char* data,
                           std::uint32_t* dataSize) override
    {
        if (!m_openKeys.contains(key))
            return ERROR_INVALID_HANDLE;
        if (!SameName(valueName, SystemInformationValue))
            return ERROR_FILE_NOT_FOUND;
        const QString program = FindSystemInformationProgram();
        if (program.isEmpty())
            return ERROR_FILE_NOT_FOUND;

        QByteArray value = QFile::encodeName(program);
        value.append('\0');
        const auto needed = std::uint32_t(value.size());
        if (type)
            *type = REG_SZ;
        if (data && *dataSize < needed) {
            *dataSize = needed;
            return ERROR_MORE_DATA;
        }
        if (data)
            std::memcpy(data, value.constData(), needed);
        *dataSize = needed;
        return ERROR_SUCCESS;
    }

    Result RegCloseKey(HKEY key) override
    {
        return m_openKeys.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }

private:
    // Well away from the predefined root keys (0x80000000 and up).
    HKEY m_nextHandle = 0x100;
    QSet<HKEY> m_openKeys;
};

Registry* g_replacement = nullptr;

}

Registry& CurrentRegistry()
{
    static MachineRegistry machineRegistry;
    return g_replacement ? *g_replacement : machineRegistry;
}

void SetRegistry(Registry* registry)
{
    g_replacement = registry;
}
