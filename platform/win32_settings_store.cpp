#include "platform/win32_settings_store.h"

#include <windows.h>

#include <utility>

namespace tosbel {

std::wstring wideOfUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
    return wide;
}

std::string utf8OfWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

RegistrySettingsStore::RegistrySettingsStore(std::string root) : root_(std::move(root)) {}

std::wstring RegistrySettingsStore::subkey(std::string_view section) const {
    return wideOfUtf8(root_) + L'\\' + wideOfUtf8(section);
}

std::string RegistrySettingsStore::read(std::string_view section, std::string_view key) {
    const std::wstring where = subkey(section);
    const std::wstring name = wideOfUtf8(key);
    DWORD bytes = 0;
    // A value may change between asking its size and reading it: ask again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (RegGetValueW(HKEY_CURRENT_USER, where.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &bytes) != ERROR_SUCCESS)
            return {};
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS rc = RegGetValueW(HKEY_CURRENT_USER, where.c_str(), name.c_str(),
                                        RRF_RT_REG_SZ, nullptr, value.data(), &got);
        if (rc == ERROR_MORE_DATA) {
            bytes = got;
            continue;
        }
        if (rc != ERROR_SUCCESS) return {};
        // The size counts the terminating zero, which the text leaves off.
        value.resize(got / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        return utf8OfWide(value);
    }
    return {};
}

bool RegistrySettingsStore::save(std::string_view section, std::string_view key,
                                 std::string_view value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring text = wideOfUtf8(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    const LSTATUS rc = RegSetValueExW(handle, wideOfUtf8(key).c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

std::string RegistrySettingsStore::location() const {
    return "HKEY_CURRENT_USER\\" + root_;
}

}  // namespace tosbel
