// The handle owners and the Windows reads of base/, which every layer uses.

#include "base/Handles.h"
#include "base/WinUtil.h"

#include <gtest/gtest.h>

#include <utility>

TEST(BaseHandles, OwnersCloseOnceAndMoveWhatTheyHold) {
    base::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    const HANDLE raw = event.get();
    base::UniqueHandle moved(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_EQ(moved.get(), raw);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
    moved.reset();
    EXPECT_FALSE(GetHandleInformation(raw, &flags));

    // A file that cannot be opened is INVALID_HANDLE_VALUE, which the owner takes as empty.
    base::UniqueFileHandle none(
        CreateFileW(L"C:\\no such folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(none);
}

TEST(BaseHandles, AResetLeavesTheLastErrorToTheCallerThatReadsIt) {
    // Protected from closing: its close fails with an error of its own.
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(SetHandleInformation(event, HANDLE_FLAG_PROTECT_FROM_CLOSE, HANDLE_FLAG_PROTECT_FROM_CLOSE));
    base::UniqueFileHandle file(event);
    file.reset(CreateFileW(L"C:\\no such folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    SetHandleInformation(event, HANDLE_FLAG_PROTECT_FROM_CLOSE, 0);
    const base::UniqueHandle unprotected(event);
}

TEST(BaseHandles, DcGuardsPutTheDcBackAsItWas) {
    base::MemoryDc dc(nullptr);
    ASSERT_NE(dc.get(), nullptr);
    const HGDIOBJ brushBefore = GetCurrentObject(dc.get(), OBJ_BRUSH);
    const COLORREF textBefore = GetTextColor(dc.get());
    base::UniqueHbrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    {
        base::SelectGuard select(dc.get(), brush.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brushBefore);
    {
        base::SavedDcState saved(dc.get());
        SelectObject(dc.get(), brush.get());
        SetTextColor(dc.get(), textBefore ^ 0xFFFFFF);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brushBefore);
    EXPECT_EQ(GetTextColor(dc.get()), textBefore);
}

TEST(BaseWinUtil, WindowTextAndFoldersAreReadWhole) {
    const std::wstring text = std::wstring(5000, L'x') + L"終";
    HWND window = CreateWindowExW(0, L"STATIC", text.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(base::WindowText(window), text);
    SetWindowTextW(window, L"");
    EXPECT_EQ(base::WindowText(window), L"");
    DestroyWindow(window);

    const std::wstring system = base::SystemDirectory(), windows = base::WindowsDirectory();
    ASSERT_FALSE(system.empty());
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(system.back(), L'\\');
    EXPECT_NE(GetFileAttributesW((system + L"\\kernel32.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(base::SameTextIgnoringCase(system.substr(0, windows.size() + 1), windows + L"\\"));
}

TEST(BaseWinUtil, CaseBlindComparisonCoversEveryLetter) {
    EXPECT_TRUE(base::SameTextIgnoringCase(L"TApplication", L"tapplication"));
    EXPECT_TRUE(base::SameTextIgnoringCase(L"Äpfel", L"äPFEL"));
    EXPECT_FALSE(base::SameTextIgnoringCase(L"pmrun", L"pmrun2"));
}

TEST(BaseWinUtil, RegistryStringsTellTheirTypeAndMissingOnesAreNone) {
    const std::wstring path = L"Software\\pmrun base test";
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created,
                              nullptr),
              ERROR_SUCCESS);
    base::UniqueHkey writable(created);
    const wchar_t expand[] = L"%SystemRoot%\\x";
    RegSetValueExW(created, L"e", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand), sizeof(expand));
    RegSetValueExW(created, L"s", 0, REG_SZ, reinterpret_cast<const BYTE*>(expand), sizeof(expand));

    const base::UniqueHkey key = base::OpenRegistryKey(HKEY_CURRENT_USER, path, KEY_READ);
    ASSERT_TRUE(key);
    const auto e = base::ReadRegistryString(key.get(), L"e"), s = base::ReadRegistryString(key.get(), L"s");
    ASSERT_TRUE(e && s);
    EXPECT_EQ(e->text, expand);
    EXPECT_TRUE(e->expandable);
    EXPECT_EQ(s->text, expand);
    EXPECT_FALSE(s->expandable);
    EXPECT_FALSE(base::ReadRegistryString(key.get(), L"missing"));
    EXPECT_FALSE(base::OpenRegistryKey(HKEY_CURRENT_USER, path + L"\\missing", KEY_READ));
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}
