#pragma once
// Shuts Windows down or restarts it; on NT the process first enables its shutdown privilege.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-exitwindowsex

#include "base/Exception.h"

#include <windows.h>

// With the system's error code of the call that failed (SystemError()).
class EExitError : public Exception {
public:
    using Exception::Exception;
};

// The platform calls the component makes, replaceable so that tests never end the session for real.
struct ExitWinPlatform {
    BOOL(WINAPI* OpenToken)(HANDLE process, DWORD access, PHANDLE token) = ::OpenProcessToken;
    BOOL(WINAPI* LookupPrivilege)(LPCWSTR system, LPCWSTR name, PLUID luid) = ::LookupPrivilegeValueW;
    BOOL(WINAPI* AdjustPrivileges)
    (HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
     PTOKEN_PRIVILEGES previousState, PDWORD returnLength) = ::AdjustTokenPrivileges;
    BOOL(WINAPI* EndSession)(UINT flags, DWORD reason) = ::ExitWindowsEx;
    BOOL(WINAPI* QueryVersion)(LPOSVERSIONINFOW info) = ::GetVersionExW;
};

class TExitWin {
public:
    TExitWin();
    explicit TExitWin(const ExitWinPlatform& platform);

    // EExitError when the process token cannot be opened or adjusted. A token that simply lacks the
    // privilege still passes: ExitWindowsEx then reports the refusal.
    void EnableShutdownPrivilege();
    // Enables the privilege, then asks for the end of the session; whether Windows accepted.
    bool ExitWindowsWithPrivilege(UINT flags);
    void ShutDownWindows();
    void RestartWindows();

    // The version of Windows as the last constructed TExitWin read it; one record for the whole program.
    static const OSVERSIONINFOW& OsVersion();
    static bool IsNT();

private:
    ExitWinPlatform platform_;
};
