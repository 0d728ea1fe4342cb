#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "platform/Failure.h"
#include "platform/RegistryString.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"

namespace {

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The value can change size between the size query and the read, so the read is repeated until
// the buffer holds all of it.
std::optional<StoredValue> QueryValue(HKEY key, const std::wstring& name) {
    StoredValue value;
    DWORD size = 0;
    LONG status = ::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.data.resize(size);
        status =
            ::RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> Win32Registry::ReadUserString(const std::string& key,
                                                         const std::string& name) {
    UniqueRegistryKey opened;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_QUERY_VALUE, opened.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::optional<StoredValue> value = QueryValue(opened.get(), Widen(name));
    if (!value) return std::nullopt;
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ)
        throw Failure("Invalid data type for '" + name + "'");
    return Narrow(RegistryStringFromBytes(value->data.data(), value->data.size()));
}
