#include "components/MakeShortCut.h"

#include "base/ComPtr.h"
#include "base/WinUtil.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shobjidl.h>

#include <cstdio>

namespace {

std::wstring HexCode(HRESULT code) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%08lX", static_cast<unsigned long>(code));
    return text;
}

// The folder from the registry value under "Shell Folders", which the Explorer keeps for older programs.
// Only read: the key is never created.
std::optional<std::wstring> RegistryFolder(const wchar_t* value) {
    const base::UniqueHkey key = base::OpenRegistryKey(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    auto stored = base::ReadRegistryString(key.get(), value);
    if (!stored) return std::nullopt;
    std::wstring text = std::move(stored->text);
    if (stored->expandable) {
        const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
        std::wstring expanded(needed, L'\0');
        if (needed && ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed)) {
            expanded.resize(needed - 1);
            text = expanded;
        }
    }
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<std::wstring> ShellFolder(REFKNOWNFOLDERID id, const wchar_t* registryValue) {
    base::UniqueCoTaskMem<wchar_t> path;
    std::optional<std::wstring> folder;
    // The buffer is ours to free even when the call fails.
    if (SUCCEEDED(TMakeShortCut::Platform().KnownFolderPath(id, 0, nullptr, path.put())) && path &&
        *path.get())
        folder = std::wstring(path.get());
    if (!folder) folder = RegistryFolder(registryValue);
    return folder;
}

} // namespace

EOleSysError::EOleSysError(HRESULT result)
    : Exception(L"OLE error " + HexCode(result), static_cast<std::uint32_t>(result)) {}

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
    base::ComPtr<IShellLinkW> link;
    const auto [linkIid, linkOut] = link.put_iid();
    HRESULT result = Platform().CreateInstance(CLSID_ShellLink, nullptr,
                                               CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, linkIid, linkOut);
    if (FAILED(result) || !link) throw EOleSysError(FAILED(result) ? result : E_NOINTERFACE);
    base::ComPtr<IPersistFile> file;
    const auto [fileIid, fileOut] = file.put_iid();
    result = link->QueryInterface(fileIid, fileOut);
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
