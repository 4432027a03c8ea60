#include "components/ExitWin32.h"

#include "base/Handles.h"

namespace {

OSVERSIONINFOW osVersion{};

// The last error is read before the message is made, which may allocate.
[[noreturn]] void FailWithLastError(const wchar_t* message) {
    const DWORD error = GetLastError();
    throw EExitError(message, error);
}

// A shutdown the user chose, as Windows logs it; 0 would be logged as unplanned.
// https://learn.microsoft.com/windows/win32/shutdown/system-shutdown-reason-codes
constexpr DWORD kPlannedReason = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

} // namespace

TExitWin::TExitWin() : TExitWin(ExitWinPlatform{}) {}

TExitWin::TExitWin(const ExitWinPlatform& platform) : platform_(platform) {
    osVersion = OSVERSIONINFOW{};
    osVersion.dwOSVersionInfoSize = sizeof osVersion;
    // On failure the record stays zero, which reads as "not NT": the session then ends without token work.
    platform_.QueryVersion(&osVersion);
}

const OSVERSIONINFOW& TExitWin::OsVersion() {
    return osVersion;
}

bool TExitWin::IsNT() {
    return osVersion.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void TExitWin::EnableShutdownPrivilege() {
    HANDLE opened = nullptr;
    bool ok = platform_.OpenToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened);
    // Only a handle the call vouches for is ours to close.
    base::UniqueHandle token(ok ? opened : nullptr);
    TOKEN_PRIVILEGES privileges{};
    if (ok) ok = platform_.LookupPrivilege(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    if (ok) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        // ERROR_NOT_ALL_ASSIGNED is not looked at on purpose: without the privilege, ExitWindowsEx is
        // the call that fails.
        ok = platform_.AdjustPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
    if (!ok) FailWithLastError(L"特権の取得に失敗しました。");
}

bool TExitWin::ExitWindowsWithPrivilege(UINT flags) {
    EnableShutdownPrivilege();
    return platform_.EndSession(flags, kPlannedReason);
}

void TExitWin::ShutDownWindows() {
    // EWX_SHUTDOWN stops Windows without turning the power off.
    bool ok = IsNT() ? ExitWindowsWithPrivilege(EWX_POWEROFF) : platform_.EndSession(EWX_POWEROFF, kPlannedReason);
    if (!ok) FailWithLastError(L"Windows の電源を切れる状態にできませんでした。");
}

void TExitWin::RestartWindows() {
    bool ok = IsNT() ? ExitWindowsWithPrivilege(EWX_REBOOT) : platform_.EndSession(EWX_REBOOT, kPlannedReason);
    if (!ok) FailWithLastError(L"Windows を再起動できませんでした。");
}
