#include "info/SysInfoLauncher.h"

#include "platform/Failure.h"
#include "platform/ProgramStart.h"
#include "platform/Prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

using namespace RegistryConstants;

namespace {

// Write rights are asked for as well; that is how the key has always been
// opened, so a user who may only read it gets no system information.
constexpr std::uint32_t KeyAccess = READ_CONTROL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY
                                    | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK;
static_assert(KeyAccess == 0x2003F);

constexpr std::uint32_t ValueBufferSize = 1024;

const QString ProgramPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ProgramPathValue = QStringLiteral("PATH");
const QString ProgramFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString ProgramFolderValue = QStringLiteral("MSINFO");
const QString ProgramFileName = QStringLiteral("MSINFO32.EXE");

// Closes the opened key on every way out, a thrown failure included.
class OpenKey
{
public:
    OpenKey(Registry& registry, Registry::HKEY key) : m_registry(registry), m_key(key) {}
    ~OpenKey() { m_registry.RegCloseKey(m_key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    Registry& m_registry;
    Registry::HKEY m_key;
};

std::int32_t LittleEndianInt32(const unsigned char* bytes)
{
    const std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16
                                | std::uint32_t(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

// Hidden and system files do not count.
bool IsNormalFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

// The path of the system-information program, or empty text when the
// registry names none.
QString SysInfoPath()
{
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, ProgramPathKey, ProgramPathValue, path))
        return path;

    QString folder;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, ProgramFolderKey, ProgramFolderValue, folder))
        return QString();
    path = folder + QDir::separator() + ProgramFileName;
    return IsNormalFile(path) ? path : QString();
}

}

bool GetKeyValue(Registry::HKEY KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    Registry& registry = CurrentRegistry();
    Registry::HKEY key = 0;
    if (registry.RegOpenKeyEx(KeyRoot, KeyName.toLocal8Bit(), KeyAccess, &key) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    const OpenKey openKey(registry, key);

    std::array<unsigned char, ValueBufferSize> buffer{};
    std::uint32_t size = ValueBufferSize;
    std::uint32_t type = REG_NONE;
    if (registry.RegQueryValueEx(key, SubKeyRef.toLocal8Bit(), &type, buffer.data(), &size) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }

    // The buffer started out all zero, so only data that fills it completely
    // can lack a zero byte.
    const auto end = std::find(buffer.begin(), buffer.end(), 0);
    if (end == buffer.end())
        throw Failure::InvalidArgument();

    switch (type) {
    case REG_SZ:
        KeyVal = QString::fromLocal8Bit(reinterpret_cast<const char*>(buffer.data()), end - buffer.begin());
        break;
    case REG_DWORD:
        KeyVal = QString::number(LittleEndianInt32(buffer.data()));
        break;
    default:
        break;
    }
    return true;
}

void StartSysInfo(QWidget* parent)
{
    bool started = false;
    try {
        // The path is not looked up before the start: a missing program
        // shows up as a failed start.
        const QString path = SysInfoPath();
        started = !path.isEmpty() && CurrentProgramStarter().StartDetached(path);
    } catch (...) {
        started = false;
    }
    if (!started)
        CurrentPrompt().MsgBox(parent, QStringLiteral("Systeminformationsprogramm zur Zeit nicht verfügbar."),
                               QCoreApplication::applicationName(), Prompt::Icon::None);
}
