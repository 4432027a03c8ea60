#include "components/MakeShortCut.h"

#include "ui/ComPtr.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shobjidl.h>

#include <cstdio>
#include <vector>

namespace {

std::wstring HexCode(HRESULT code) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%08lX", static_cast<unsigned long>(code));
    return text;
}

// The folder from the registry value under "Shell Folders", which the Explorer keeps for older programs.
// Only read: the key is never created.
std::optional<std::wstring> RegistryFolder(const wchar_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::wstring> folder;
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key, value, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes >= sizeof(wchar_t)) {
        std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) ==
            ERROR_SUCCESS) {
            std::wstring text(data.data());
            if (type == REG_EXPAND_SZ) {
                const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
                std::wstring expanded(needed, L'\0');
                if (needed && ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed)) {
                    expanded.resize(needed - 1);
                    text = expanded;
                }
            }
            if (!text.empty()) folder = text;
        }
    }
    RegCloseKey(key);
    return folder;
}

std::optional<std::wstring> ShellFolder(REFKNOWNFOLDERID id, const wchar_t* registryValue) {
    PWSTR path = nullptr;
    std::optional<std::wstring> folder;
    if (SUCCEEDED(TMakeShortCut::Platform().KnownFolderPath(id, 0, nullptr, &path)) && path && *path)
        folder = std::wstring(path);
    CoTaskMemFree(path);
    if (!folder) folder = RegistryFolder(registryValue);
    return folder;
}

} // namespace

EOleSysError::EOleSysError(HRESULT result) : Exception(L"OLE error " + HexCode(result)), code_(result) {}

MakeShortCutPlatform& TMakeShortCut::Platform() {
    static MakeShortCutPlatform platform;
    return platform;
}

int TMakeShortCut::ShowCommand(TShowMode mode) {
    switch (mode) {
    case TShowMode::tsNormal: return SW_SHOWNORMAL;
    case TShowMode::tsMax: return SW_SHOWMAXIMIZED;
    case TShowMode::tsMin: return SW_SHOWMINNOACTIVE;
    default: return SW_SHOW;
    }
}

std::optional<std::wstring> TMakeShortCut::ShortCutPath() const {
    std::optional<std::wstring> folder;
    switch (SCSystemPath) {
    case TSysPath::tpDesktop: folder = ShellFolder(FOLDERID_Desktop, L"Desktop"); break;
    case TSysPath::tpStartMenu: folder = ShellFolder(FOLDERID_StartMenu, L"Start Menu"); break;
    case TSysPath::tpStartup: folder = ShellFolder(FOLDERID_Startup, L"Startup"); break;
    case TSysPath::tpBlank:
    default: return SCFileName; // relative to the current folder
    }
    if (!folder) return std::nullopt;
    if (folder->back() != L'\\') *folder += L'\\';
    return *folder + SCFileName;
}

void TMakeShortCut::CreateShortCut() {
    ui::ComPtr<IShellLinkW> link;
    HRESULT result = Platform().CreateInstance(
        CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellLinkW, link.put());
    if (FAILED(result) || !link) throw EOleSysError(FAILED(result) ? result : E_NOINTERFACE);
    ui::ComPtr<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.put());
    if (FAILED(result) || !file) throw EOleSysError(FAILED(result) ? result : E_NOINTERFACE);
    // The results are not looked at: a link that cannot be completed is simply saved as it is.
    link->SetDescription(SCDescription.c_str());
    link->SetPath(SCExecFile.c_str());
    link->SetArguments(SCArguments.c_str());
    link->SetShowCmd(ShowCommand(SCShowCmd));
    link->SetWorkingDirectory(SCWorkDir.c_str());
    if (const auto path = ShortCutPath()) file->Save(path->c_str(), FALSE);
}

void TMakeShortCut::DeleteShortCut() {
    if (const auto path = ShortCutPath()) DeleteFileW(path->c_str());
}
