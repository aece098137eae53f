#include "FakeSysInfo.h"

#include <cstring>

using namespace RegistryConstants;

FakeRegistry::FakeRegistry()
{
    SetRegistry(this);
}

FakeRegistry::~FakeRegistry()
{
    SetRegistry(nullptr);
}

void FakeRegistry::SetString(const QByteArray& keyName, const QByteArray& valueName, const QByteArray& text)
{
    SetValue(keyName, valueName, REG_SZ, text + '\0');
}

void FakeRegistry::SetValue(const QByteArray& keyName, const QByteArray& valueName, std::uint32_t type,
                            const QByteArray& data)
{
    m_keys[keyName.toLower()][valueName.toLower()] = {type, data};
}

void FakeRegistry::SetReadOnly(const QByteArray& keyName)
{
    m_readOnly.insert(keyName.toLower());
}

Registry::Result FakeRegistry::RegOpenKeyEx(HKEY keyRoot, const QByteArray& keyName, std::uint32_t access,
                                            HKEY* result)
{
    accessAsked.append(access);
    const QByteArray name = keyName.toLower();
    if (keyRoot != HKEY_LOCAL_MACHINE || !m_keys.contains(name))
        return ERROR_FILE_NOT_FOUND;
    const std::uint32_t writeRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK;
    if (m_readOnly.contains(name) && (access & writeRights))
        return ERROR_ACCESS_DENIED;
    *result = m_nextHandle++;
    openKeys.insert(*result, name);
    return ERROR_SUCCESS;
}

Registry::Result FakeRegistry::RegQueryValueEx(HKEY key, const QByteArray& valueName, std::uint32_t* type,
                                               unsigned char* data, std::uint32_t* dataSize)
{
    if (!openKeys.contains(key))
        return ERROR_INVALID_HANDLE;
    const auto& values = m_keys[openKeys[key]];
    const auto found = values.find(valueName.toLower());
    if (found == values.end())
        return ERROR_FILE_NOT_FOUND;
    const auto size = std::uint32_t(found->data.size());
    *type = found->type;
    if (size > *dataSize) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, found->data.constData(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

Registry::Result FakeRegistry::RegCloseKey(HKEY key)
{
    return openKeys.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

RecordingStarter::RecordingStarter()
{
    SetProgramStarter(this);
}

RecordingStarter::~RecordingStarter()
{
    SetProgramStarter(nullptr);
}

bool RecordingStarter::StartDetached(const QString& path)
{
    started.append(path);
    return answer;
}
