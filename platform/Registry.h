#pragma once

#include <QByteArray>

#include <cstdint>

// The read side of the Windows registry, as the program uses it: open a key,
// query one of its values into a caller's buffer, close the key. Names, texts
// and data are single-byte text in the system code page; results are the
// Windows error codes. Tests install a registry of their own.
class Registry
{
public:
    using HKEY = std::uint32_t;
    using Result = std::int32_t;

    virtual ~Registry() = default;

    // On success *result receives the handle of the opened key.
    virtual Result RegOpenKeyEx(HKEY keyRoot, const QByteArray& keyName, std::uint32_t access, HKEY* result) = 0;
    // Copies the value's data into data (room for *dataSize bytes) and sets
    // *type and *dataSize. When the data does not fit, nothing is copied,
    // *dataSize receives the size needed and the result is ERROR_MORE_DATA.
    virtual Result RegQueryValueEx(HKEY key, const QByteArray& valueName, std::uint32_t* type, unsigned char* data,
                                   std::uint32_t* dataSize) = 0;
    virtual Result RegCloseKey(HKEY key) = 0;
};

namespace RegistryConstants {

constexpr Registry::HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr std::uint32_t KEY_NOTIFY = 0x0010;
constexpr std::uint32_t KEY_CREATE_LINK = 0x0020;
constexpr std::uint32_t READ_CONTROL = 0x20000;

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

constexpr Registry::Result ERROR_SUCCESS = 0;
constexpr Registry::Result ERROR_FILE_NOT_FOUND = 2;
constexpr Registry::Result ERROR_ACCESS_DENIED = 5;
constexpr Registry::Result ERROR_INVALID_HANDLE = 6;
constexpr Registry::Result ERROR_MORE_DATA = 234;

}

Registry& CurrentRegistry();
// Installs a replacement (tests); nullptr restores the machine's own.
void SetRegistry(Registry* registry);
