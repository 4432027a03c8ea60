#include "settings/LegacyRegistry.h"

#include "base/WinUtil.h"
#include "settings/IniValues.h"

#include <windows.h>

namespace {

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
    auto value = base::ReadRegistryString(key, name);
    return value ? std::move(value->text) : std::wstring();
}

base::UniqueHkey OpenLegacyKey(const std::wstring& path) {
    return base::OpenRegistryKey(HKEY_CURRENT_USER, path, KEY_READ);
}

} // namespace

std::optional<PanelBounds> ReadLegacyPanelBounds() {
    base::UniqueHkey key = OpenLegacyKey(kLegacyKeyRoot + L"btnform");
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
    base::UniqueHkey key = OpenLegacyKey(kLegacyKeyRoot + ButtonSectionName(number));
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
