#pragma once

#include "platform/ProgramStart.h"
#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

// A registry of a few keys under HKEY_LOCAL_MACHINE that behaves like the
// Windows one towards its caller (buffer limit, access rights, handles).
// Installs itself for its lifetime.
class FakeRegistry final : public Registry
{
public:
    struct Value
    {
        std::uint32_t type = RegistryConstants::REG_SZ;
        QByteArray data;
    };

    FakeRegistry();
    ~FakeRegistry() override;

    // A string value as Windows stores it, with its terminating zero.
    void SetString(const QByteArray& keyName, const QByteArray& valueName, const QByteArray& text);
    void SetValue(const QByteArray& keyName, const QByteArray& valueName, std::uint32_t type, const QByteArray& data);
    // The user may read the key but not write it.
    void SetReadOnly(const QByteArray& keyName);

    Result RegOpenKeyEx(HKEY keyRoot, const QByteArray& keyName, std::uint32_t access, HKEY* result) override;
    Result RegQueryValueEx(HKEY key, const QByteArray& valueName, std::uint32_t* type, unsigned char* data,
                           std::uint32_t* dataSize) override;
    Result RegCloseKey(HKEY key) override;

    QList<std::uint32_t> accessAsked;
    QMap<HKEY, QByteArray> openKeys;

private:
    QMap<QByteArray, QMap<QByteArray, Value>> m_keys;
    QSet<QByteArray> m_readOnly;
    HKEY m_nextHandle = 0x100;
};

// Records the programs that would have been started. Installs itself for its
// lifetime.
class RecordingStarter final : public ProgramStarter
{
public:
    RecordingStarter();
    ~RecordingStarter() override;

    bool StartDetached(const QString& path) override;

    QStringList started;
    bool answer = true;
};
