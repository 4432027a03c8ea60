#include "settings/LegacyRegistry.h"

#include "settings/IniValues.h"

#include <windows.h>

namespace {

class OpenKey {
public:
    explicit OpenKey(const std::wstring& path) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// REG_DWORD only; anything else is the fallback.
std::int32_t ReadDword(HKEY key, const wchar_t* name, std::int32_t fallback) {
    DWORD type = 0, value = 0, size = sizeof(value);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return fallback;
    if (type != REG_DWORD || size != sizeof(value)) return fallback;
    return static_cast<std::int32_t>(value);
}

// REG_SZ or REG_EXPAND_SZ taken literally, of any length; anything else is empty.
std::wstring ReadText(HKEY key, const wchar_t* name) {
    std::wstring text;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got);
        if (rc == ERROR_MORE_DATA) continue; // grew in between
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
        text.resize(got / sizeof(wchar_t));
        // The stored data may or may not end with its terminator.
        if (auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return text;
    }
    return {};
}

} // namespace

std::optional<PanelBounds> ReadLegacyPanelBounds() {
    OpenKey key(kLegacyKeyRoot + L"btnform");
    if (!key) return std::nullopt;
    const PanelBounds defaults;
    PanelBounds b;
    b.left = ReadDword(key.get(), L"left", defaults.left);
    b.top = ReadDword(key.get(), L"top", defaults.top);
    b.width = ReadDword(key.get(), L"width", defaults.width);
    b.height = ReadDword(key.get(), L"height", defaults.height);
    return b;
}

std::optional<ButtonRecord> ReadLegacyButton(int number) {
    OpenKey key(kLegacyKeyRoot + ButtonSectionName(number));
    if (!key) return std::nullopt;
    ButtonRecord record;
    record.Program = ReadText(key.get(), L"pg");
    record.IconFile = ReadText(key.get(), L"ic");
    record.IconIndex = ReadDword(key.get(), L"icidx", 0);
    record.Options = ReadText(key.get(), L"op");
    record.WorkFolder = ReadText(key.get(), L"dr");
    record.Hint = ReadText(key.get(), L"lb");
    return record;
}
