#include "base/WinUtil.h"

#include "base/IntegrityRules.h"

#include <shellapi.h>

#include <vector>

namespace base {

namespace {

// GetSystemDirectory, GetWindowsDirectory and GetCurrentDirectory: the length without the null when it
// fitted, the size needed with it when not.
template <typename Call> std::wstring FolderFrom(Call call) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = call(path.data(), static_cast<UINT>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
}

bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The mandatory integrity level's RID of a process's token; 0 when it cannot be read.
DWORD IntegrityLevelOf(HANDLE process) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &opened)) return 0;
    const UniqueHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) return 0;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return 0;
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    return count == 0 ? 0 : *GetSidSubAuthority(sid, count - 1u);
}

// Whether the process's token is elevated (run as administrator with UAC on); false when unread.
bool Elevated() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    const UniqueHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated != 0;
}

} // namespace

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring SystemDirectory() {
    return FolderFrom([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

std::wstring WindowsDirectory() {
    return FolderFrom([](wchar_t* buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); });
}

std::wstring CurrentDirectory() {
    return FolderFrom([](wchar_t* buffer, UINT size) { return GetCurrentDirectoryW(size, buffer); });
}

void AllowMessageFromAnyProcess(HWND window, UINT message) {
    // Without elevation there is nothing to let through, and the call changes nothing.
    ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

void AcceptDroppedFiles(HWND window) {
    DragAcceptFiles(window, TRUE);
    constexpr UINT kCopyGlobalData = 0x0049;
    for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData})
        AllowMessageFromAnyProcess(window, message);
}

bool RunsAboveShellIntegrity() {
    DWORD theShells = 0, shellId = 0;
    const HWND shell = GetShellWindow();
    if (shell && GetWindowThreadProcessId(shell, &shellId))
        if (const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellId)); process)
            theShells = IntegrityLevelOf(process.get());
    return AboveTheShell(IntegrityLevelOf(GetCurrentProcess()), theShells, Elevated());
}

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

UniqueHkey OpenRegistryKey(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    // Only a handle the call vouches for is ours to close.
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return UniqueHkey(key);
}

std::optional<RegistryString> ReadRegistryString(HKEY key, const wchar_t* name) {
    std::wstring text;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
        if (!IsString(type)) return std::nullopt;
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LONG rc =
            RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got);
        if (rc == ERROR_MORE_DATA) continue; // grew in between
        if (rc != ERROR_SUCCESS || !IsString(type)) return std::nullopt;
        text.resize(got / sizeof(wchar_t));
        // The stored data may or may not end with its terminator.
        if (auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return RegistryString{std::move(text), type == REG_EXPAND_SZ};
    }
    return std::nullopt;
}

} // namespace base
