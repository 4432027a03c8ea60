// Shutting down and restarting Windows, with every platform call replaced by a recording fake: the
// real ExitWindowsEx would end every process of the Wine prefix, this test program included.

#include "components/ExitWin32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring kPrivilegeError = L"特権の取得に失敗しました。";
constexpr DWORD kPlanned = SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;
const std::wstring kShutDownError = L"Windows の電源を切れる状態にできませんでした。";
const std::wstring kRestartError = L"Windows を再起動できませんでした。";

// What the fakes answer.
struct Behaviour {
    bool openSucceeds = true;
    bool lookupSucceeds = true;
    bool adjustSucceeds = true;
    DWORD adjustLastError = ERROR_SUCCESS;
    bool exitSucceeds = true;
    bool versionSucceeds = true;
    DWORD platformId = VER_PLATFORM_WIN32_NT;
};

// What the fakes were given.
struct Recorded {
    std::vector<std::string> calls;
    HANDLE process = nullptr;
    DWORD access = 0;
    bool systemNameNull = false;
    std::wstring privilegeName;
    HANDLE tokenGiven = nullptr;
    HANDLE tokenAdjusted = nullptr;
    BOOL disableAll = TRUE;
    DWORD privilegeCount = 0;
    LUID luid{};
    DWORD attributes = 0;
    DWORD bufferLength = 1;
    bool previousStateNull = false;
    bool returnLengthNull = false;
    UINT exitFlags = 0;
    DWORD exitReason = 1;
    DWORD versionSize = 0;
};

Behaviour behave;
Recorded seen;
// Each token handed out is the only handle of a named event: once the component closes it, the event
// is gone and can no longer be opened by its name. (A handle value alone may be reused at once.)
std::wstring tokenName;
int tokenCount = 0;
constexpr LUID kShutdownLuid{19, 0}; // what the fake lookup hands out

BOOL WINAPI FakeOpenToken(HANDLE process, DWORD access, PHANDLE token) {
    seen.calls.push_back("open");
    seen.process = process;
    seen.access = access;
    if (!behave.openSucceeds) {
        *token = nullptr;
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    tokenName =
        L"pmrun-test-token-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++tokenCount);
    *token = CreateEventW(nullptr, TRUE, FALSE, tokenName.c_str());
    seen.tokenGiven = *token;
    return TRUE;
}

BOOL WINAPI FakeLookupPrivilege(LPCWSTR system, LPCWSTR name, PLUID luid) {
    seen.calls.push_back("lookup");
    seen.systemNameNull = system == nullptr;
    seen.privilegeName = name ? name : L"";
    if (!behave.lookupSucceeds) {
        SetLastError(ERROR_NO_SUCH_PRIVILEGE);
        return FALSE;
    }
    *luid = kShutdownLuid;
    return TRUE;
}

BOOL WINAPI FakeAdjustPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState,
                                 DWORD bufferLength, PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
    seen.calls.push_back("adjust");
    seen.tokenAdjusted = token;
    seen.disableAll = disableAll;
    if (newState) {
        seen.privilegeCount = newState->PrivilegeCount;
        seen.luid = newState->Privileges[0].Luid;
        seen.attributes = newState->Privileges[0].Attributes;
    }
    seen.bufferLength = bufferLength;
    seen.previousStateNull = previousState == nullptr;
    seen.returnLengthNull = returnLength == nullptr;
    if (!behave.adjustSucceeds) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    SetLastError(behave.adjustLastError);
    return TRUE;
}

BOOL WINAPI FakeEndSession(UINT flags, DWORD reason) {
    seen.calls.push_back("exit");
    seen.exitFlags = flags;
    seen.exitReason = reason;
    if (!behave.exitSucceeds) {
        SetLastError(ERROR_PRIVILEGE_NOT_HELD);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FakeQueryVersion(LPOSVERSIONINFOW info) {
    seen.versionSize = info->dwOSVersionInfoSize;
    if (!behave.versionSucceeds) return FALSE;
    info->dwMajorVersion = 10;
    info->dwPlatformId = behave.platformId;
    return TRUE;
}

// Whether the last token handed out is still open somewhere.
bool TokenStillOpen() {
    HANDLE again = OpenEventW(SYNCHRONIZE, FALSE, tokenName.c_str());
    if (!again) return false;
    CloseHandle(again);
    return true;
}

using Calls = std::vector<std::string>;

class ExitWinTest : public ::testing::Test {
protected:
    void SetUp() override {
        behave = {};
        seen = {};
        tokenName.clear();
    }

    // Every call replaced: a TExitWin made here can never end the session.
    static TExitWin MakeExitWin() {
        ExitWinPlatform fake;
        fake.OpenToken = FakeOpenToken;
        fake.LookupPrivilege = FakeLookupPrivilege;
        fake.AdjustPrivileges = FakeAdjustPrivileges;
        fake.EndSession = FakeEndSession;
        fake.QueryVersion = FakeQueryVersion;
        return TExitWin(fake);
    }

    static inline DWORD reason = 0; // the system's reason the last EExitError kept
    // The message of the EExitError the action raises; none when it returns normally.
    template <typename Action> static std::optional<std::wstring> ExitError(Action action) {
        try {
            action();
        } catch (const EExitError& e) {
            reason = e.SystemError();
            return e.Message();
        }
        return std::nullopt;
    }
    static std::optional<std::wstring> ShutDown(TExitWin& exitWin) {
        return ExitError([&] { exitWin.ShutDownWindows(); });
    }
    static std::optional<std::wstring> Restart(TExitWin& exitWin) {
        return ExitError([&] { exitWin.RestartWindows(); });
    }
};

} // namespace

TEST_F(ExitWinTest, TokenThatCannotBeOpenedIsThePrivilegeErrorAndWindowsStays) {
    behave.openSucceeds = false;
    TExitWin exitWin = MakeExitWin();
    EXPECT_EQ(ShutDown(exitWin), kPrivilegeError);
    EXPECT_EQ(reason, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(seen.calls, (Calls{"open"}));

    seen = {};
    EXPECT_EQ(Restart(exitWin), kPrivilegeError);
    EXPECT_EQ(seen.calls, (Calls{"open"}));
}

TEST_F(ExitWinTest, PrivilegeThatCannotBeLookedUpIsThePrivilegeError) {
    behave.lookupSucceeds = false;
    TExitWin exitWin = MakeExitWin();
    EXPECT_EQ(ShutDown(exitWin), kPrivilegeError);
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup"}));
    EXPECT_FALSE(TokenStillOpen());
}

TEST_F(ExitWinTest, TokenThatCannotBeAdjustedIsThePrivilegeErrorAndIsClosed) {
    behave.adjustSucceeds = false;
    TExitWin exitWin = MakeExitWin();
    EXPECT_EQ(ShutDown(exitWin), kPrivilegeError);
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust"}));
    EXPECT_FALSE(TokenStillOpen());

    seen = {};
    EXPECT_EQ(Restart(exitWin), kPrivilegeError);
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust"}));
    EXPECT_FALSE(TokenStillOpen());
}

TEST_F(ExitWinTest, ShutdownPrivilegeOfThisProcessIsEnabledThroughItsToken) {
    TExitWin exitWin = MakeExitWin();
    EXPECT_EQ(ShutDown(exitWin), std::nullopt);

    EXPECT_EQ(seen.process, GetCurrentProcess());
    EXPECT_EQ(seen.access, static_cast<DWORD>(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY));
    EXPECT_TRUE(seen.systemNameNull);
    EXPECT_EQ(seen.privilegeName, L"SeShutdownPrivilege");
    EXPECT_EQ(seen.tokenAdjusted, seen.tokenGiven);
    EXPECT_EQ(seen.disableAll, FALSE);
    EXPECT_EQ(seen.privilegeCount, 1u);
    EXPECT_EQ(seen.luid.LowPart, kShutdownLuid.LowPart);
    EXPECT_EQ(seen.luid.HighPart, kShutdownLuid.HighPart);
    EXPECT_EQ(seen.attributes, static_cast<DWORD>(SE_PRIVILEGE_ENABLED));
    EXPECT_EQ(seen.bufferLength, 0u);
    EXPECT_TRUE(seen.previousStateNull);
    EXPECT_TRUE(seen.returnLengthNull);
    EXPECT_FALSE(TokenStillOpen());
}

TEST_F(ExitWinTest, TokenLackingThePrivilegePassesAndTheRefusalIsTheShutdownOrRestartError) {
    behave.adjustLastError = ERROR_NOT_ALL_ASSIGNED;
    behave.exitSucceeds = false;
    TExitWin exitWin = MakeExitWin();

    EXPECT_EQ(ShutDown(exitWin), kShutDownError);
    EXPECT_EQ(reason, static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust", "exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_POWEROFF));
    EXPECT_EQ(seen.exitReason, kPlanned);
    EXPECT_FALSE(TokenStillOpen());

    seen = {};
    EXPECT_EQ(Restart(exitWin), kRestartError);
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust", "exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_REBOOT));
    EXPECT_EQ(seen.exitReason, kPlanned);
}

TEST_F(ExitWinTest, AcceptedRequestReturnsNormallyTurningThePowerOffAsPlanned) {
    TExitWin exitWin = MakeExitWin();

    EXPECT_EQ(ShutDown(exitWin), std::nullopt);
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust", "exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_POWEROFF));
    EXPECT_EQ(seen.exitReason, kPlanned);

    seen = {};
    EXPECT_EQ(Restart(exitWin), std::nullopt);
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust", "exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_REBOOT));
    EXPECT_EQ(seen.exitReason, kPlanned);
}

TEST_F(ExitWinTest, ExitWindowsWithPrivilegeReportsWhetherWindowsAccepted) {
    TExitWin exitWin = MakeExitWin();
    EXPECT_TRUE(exitWin.ExitWindowsWithPrivilege(EWX_LOGOFF));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_LOGOFF));

    behave.exitSucceeds = false;
    seen = {};
    EXPECT_FALSE(exitWin.ExitWindowsWithPrivilege(EWX_REBOOT));
    EXPECT_EQ(seen.calls, (Calls{"open", "lookup", "adjust", "exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_REBOOT));
}

TEST_F(ExitWinTest, WithoutNtTheRequestGoesStraightToWindows) {
    behave.platformId = VER_PLATFORM_WIN32_WINDOWS;
    behave.openSucceeds = false; // would be the privilege error, were the token touched
    TExitWin exitWin = MakeExitWin();
    EXPECT_FALSE(TExitWin::IsNT());

    EXPECT_EQ(ShutDown(exitWin), std::nullopt);
    EXPECT_EQ(seen.calls, (Calls{"exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_POWEROFF));
    EXPECT_EQ(seen.exitReason, kPlanned);

    seen = {};
    EXPECT_EQ(Restart(exitWin), std::nullopt);
    EXPECT_EQ(seen.calls, (Calls{"exit"}));
    EXPECT_EQ(seen.exitFlags, static_cast<UINT>(EWX_REBOOT));

    behave.exitSucceeds = false;
    seen = {};
    EXPECT_EQ(ShutDown(exitWin), kShutDownError);
    EXPECT_EQ(seen.calls, (Calls{"exit"}));
    seen = {};
    EXPECT_EQ(Restart(exitWin), kRestartError);
    EXPECT_EQ(seen.calls, (Calls{"exit"}));
}

TEST_F(ExitWinTest, UnreadableVersionCountsAsNotNt) {
    behave.versionSucceeds = false;
    TExitWin exitWin = MakeExitWin();
    EXPECT_EQ(ShutDown(exitWin), std::nullopt);
    EXPECT_EQ(seen.calls, (Calls{"exit"}));
}

TEST_F(ExitWinTest, OneVersionRecordForTheProgramRefilledByEveryConstructor) {
    TExitWin first = MakeExitWin();
    EXPECT_EQ(seen.versionSize, static_cast<DWORD>(sizeof(OSVERSIONINFOW)));
    EXPECT_TRUE(TExitWin::IsNT());

    behave.platformId = VER_PLATFORM_WIN32_WINDOWS;
    [[maybe_unused]] TExitWin second = MakeExitWin();
    EXPECT_EQ(TExitWin::OsVersion().dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));

    // The first component now follows the record the second one read.
    seen = {};
    EXPECT_EQ(ShutDown(first), std::nullopt);
    EXPECT_EQ(seen.calls, (Calls{"exit"}));
}

TEST_F(ExitWinTest, DefaultComponentReadsTheRealVersion) {
    behave.platformId = VER_PLATFORM_WIN32_WINDOWS;
    [[maybe_unused]] TExitWin fake = MakeExitWin();
    ASSERT_FALSE(TExitWin::IsNT());

    // Only the version is read here; the real component is never asked to end the session.
    [[maybe_unused]] TExitWin real;
    EXPECT_TRUE(TExitWin::IsNT());
    EXPECT_GE(TExitWin::OsVersion().dwMajorVersion, 5u);
}
