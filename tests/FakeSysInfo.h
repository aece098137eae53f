#pragma once

#include "platform/ProgramStart.h"
#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <cstring>

// A few keys under HKEY_LOCAL_MACHINE, answered the way Windows answers
// (buffer limit, access rights, handles). Installs itself for its lifetime.
class FakeRegistry final : public Registry
{
public:
    struct Value
    {
        std::uint32_t type;
        QByteArray data;
    };

    FakeRegistry() { SetRegistry(this); }
    ~FakeRegistry() override { SetRegistry(nullptr); }

    void SetValue(const QByteArray& key, const QByteArray& name, std::uint32_t type, const QByteArray& data)
    {
        m_keys[key][name] = {type, data};
    }
    // A string value as Windows stores it, with its terminating zero.
    void SetString(const QByteArray& key, const QByteArray& name, const QByteArray& text)
    {
        SetValue(key, name, RegistryConstants::REG_SZ, text + '\0');
    }

    Result RegOpenKeyEx(HKEY root, const QByteArray& key, std::uint32_t access, HKEY* result) override
    {
        using namespace RegistryConstants;
        accessAsked.append(access);
        if (root != HKEY_LOCAL_MACHINE || !m_keys.contains(key))
            return ERROR_FILE_NOT_FOUND;
        if (readOnly.contains(key) && (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK)))
            return ERROR_ACCESS_DENIED;
        *result = m_nextHandle++;
        openKeys.insert(*result, key);
        return ERROR_SUCCESS;
    }

    Result RegQueryValueEx(HKEY key, const QByteArray& name, std::uint32_t* type, unsigned char* data,
                           std::uint32_t* size) override
    {
        using namespace RegistryConstants;
        const auto values = m_keys.value(openKeys.value(key));
        if (!values.contains(name))
            return ERROR_FILE_NOT_FOUND;
        const Value& value = values[name];
        *type = value.type;
        const auto needed = std::uint32_t(value.data.size());
        if (needed > *size) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, value.data.constData(), needed);
        *size = needed;
        return ERROR_SUCCESS;
    }

    Result RegCloseKey(HKEY key) override
    {
        return openKeys.remove(key) ? RegistryConstants::ERROR_SUCCESS : RegistryConstants::ERROR_INVALID_HANDLE;
    }

    // Keys the user may read but not write.
    QSet<QByteArray> readOnly;
    QList<std::uint32_t> accessAsked;
    QMap<HKEY, QByteArray> openKeys;

private:
    QMap<QByteArray, QMap<QByteArray, Value>> m_keys;
    HKEY m_nextHandle = 0x100;
};

// Records the programs that would have been started. Installs itself for its
// lifetime.
class RecordingStarter final : public ProgramStarter
{
public:
    RecordingStarter() { SetProgramStarter(this); }
    ~RecordingStarter() override { SetProgramStarter(nullptr); }

    bool StartDetached(const QString& path) override
    {
        started.append(path);
        return answer;
    }

    QStringList started;
    bool answer = true;
};
