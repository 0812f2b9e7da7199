#include "platform/RegistryStore.h"

#include <windows.h>

#include <cstring>

namespace {

// Subkeys and values are at most 255 and 16,383 characters long.
constexpr DWORD kNameLength = 16384;

std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

bool ReadKey(HKEY key, const std::u16string& prefix, std::vector<RegistryValue>& values, int depth) {
    // Qt's groups are a few levels deep; a deeper tree is no store of Trelvane's and is not walked.
    if (depth > 16)
        return false;
    std::vector<wchar_t> name(kNameLength);
    std::vector<BYTE> data;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kNameLength;
        DWORD type = 0;
        DWORD size = 0;
        LONG status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            return false;
        data.assign(size + sizeof(wchar_t), 0);
        nameLength = kNameLength;
        status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (status != ERROR_SUCCESS)
            return false;
        RegistryValue value;
        value.key = prefix + FromWide(name.data(), nameLength);
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            std::size_t length = size / sizeof(wchar_t);
            const auto* text = reinterpret_cast<const wchar_t*>(data.data());
            while (length > 0 && text[length - 1] == L'\0')
                --length;
            value.text = FromWide(text, length);
        } else if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number = 0;
            memcpy(&number, data.data(), sizeof number);
            const std::string digits = std::to_string(static_cast<int>(number));
            value.text.assign(digits.begin(), digits.end());
        } else {
            value.isText = false;
        }
        values.push_back(std::move(value));
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = kNameLength;
        const LONG status =
            RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            return false;
        HKEY child = nullptr;
        if (RegOpenKeyExW(key, name.data(), 0, KEY_READ, &child) != ERROR_SUCCESS)
            return false;
        const bool read =
            ReadKey(child, prefix + FromWide(name.data(), nameLength) + u'/', values, depth + 1);
        RegCloseKey(child);
        if (!read)
            return false;
    }
    return true;
}

} // namespace

RegistryRead ReadRegistryValues(const std::u16string& organisation, const std::u16string& application,
                                std::vector<RegistryValue>& values) {
    values.clear();
    const std::u16string path = u"Software\\" + organisation + u"\\" + application;
    HKEY key = nullptr;
    const LONG status =
        RegOpenKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(path.c_str()), 0, KEY_READ, &key);
    if (status == ERROR_FILE_NOT_FOUND)
        return RegistryRead::Missing;
    if (status != ERROR_SUCCESS)
        return RegistryRead::Failed;
    const bool read = ReadKey(key, std::u16string(), values, 0);
    RegCloseKey(key);
    return read ? RegistryRead::Read : RegistryRead::Failed;
}
