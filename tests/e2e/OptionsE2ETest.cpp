// The real pmrun.exe's options dialog, opened from the mascot's menu and driven as a user does: a new row
// limit and edge action applied by OK, and a colour chosen and kept through Cancel.

#include "Keys.h"
#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <vector>

using namespace e2e;

namespace {

constexpr int kOptionsItem = 1;

std::wstring ClassOf(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> ControlsOfClass(HWND dialog, const std::wstring& className) {
    std::vector<HWND> found;
    for (HWND child : Descendants(dialog))
        if (ClassOf(child) == className) found.push_back(child);
    return found;
}

void ClickCentre(HWND control) {
    RECT r = WindowRect(control);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class OptionsE2E : public E2ETest {
protected:
    HWND OpenOptions() {
        if (!pmrun.ChooseMenuItem(kOptionsItem)) return nullptr;
        DWORD pid = 0;
        GetWindowThreadProcessId(pmrun.Mascot(), &pid);
        pid_ = pid;
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindProcessWindow(pid, L"TOptSetF", true)) != nullptr; });
        return dialog;
    }
    // The general page, by a click on its tab; true once it shows.
    static bool ShowGeneralPage(HWND dialog) {
        HWND tabs = ControlsOfClass(dialog, WC_TABCONTROLW).at(0);
        RECT r = WindowRect(tabs);
        ClickAt(r.left + 60, r.top + 10);
        return WaitFor([&] {
            HWND rows = ControlWithText(dialog, L"ひょこ太の表示行数を");
            return rows && IsWindowVisible(rows);
        });
    }
    DWORD pid_ = 0;
};

} // namespace

TEST_F(OptionsE2E, OkAppliesANewRowLimitAndEdgeAction) {
    pmrun.WriteIni(StandardIni(std::wstring(kNoEdges) + L"LineMax=99\r\n"));
    ASSERT_TRUE(pmrun.Start());
    HWND dialog = OpenOptions();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), L"ぱむぱむランチ－オプション設定");

    // The left edge: "出る" (shows the panel).
    const auto combos = ControlsOfClass(dialog, WC_COMBOBOXW);
    ASSERT_EQ(combos.size(), 4u);
    HWND left = combos[0];
    for (HWND combo : combos)
        if (WindowRect(combo).left < WindowRect(left).left) left = combo;
    ClickCentre(left);
    TypeKey(VK_UP); // from "なし" to "出る"
    TypeKey(VK_RETURN);
    DWORD_PTR chosen = 0;
    EXPECT_TRUE(WaitFor([&] {
        return SendMessageTimeoutW(left, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &chosen) && chosen == 1;
    })) << chosen;

    // Two rows: the box checked, the spin edit taken from 6 down to 2 with the arrow keys.
    ASSERT_TRUE(ShowGeneralPage(dialog));
    HWND rows = ControlWithText(dialog, L"ひょこ太の表示行数を");
    ASSERT_NE(rows, nullptr);
    ClickCentre(rows);
    HWND spin = nullptr;
    for (HWND edit : ControlsOfClass(dialog, L"Edit"))
        if (ControlText(edit) == L"6") spin = edit;
    ASSERT_NE(spin, nullptr);
    ClickCentre(spin);
    for (int i = 0; i < 4; ++i)
        TypeKey(VK_DOWN);
    EXPECT_TRUE(WaitFor([&] { return ControlText(spin) == L"2"; }));

    ClickCentre(ControlWithText(dialog, L"OK"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
        << (pmrun.ExceptionBox() || pmrun.ErrorBox() ? "an error box came" : "the click went elsewhere");
    const auto keys = ParseIni(pmrun.IniBytes());
    EXPECT_EQ(ValueOf(keys, "eye", "LineMax"), "2");
    EXPECT_EQ(ValueOf(keys, "eye", "LWall"), "1");
    EXPECT_EQ(ValueOf(keys, "eye", "TWall"), "2");
    // The panel shows anew with two rows of buttons.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(pmrun.Panel()) != FALSE; }));
    EXPECT_EQ(ClientRect(pmrun.Panel()).bottom / 38, 2);

    // And the left edge now brings it out.
    PressChord('Z', {VK_MENU});
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(pmrun.Panel()); }));
    ASSERT_TRUE(pmrun.MovePointerForTick(0, 300));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(pmrun.Panel()) != FALSE; }));
    POINT p{};
    EXPECT_TRUE(WaitFor([&] {
        GetCursorPos(&p);
        return p.x == 10;
    }));
    ASSERT_TRUE(pmrun.Quit());
}

TEST_F(OptionsE2E, AColourChosenShowsAtOnceAndCancelKeepsItWithoutSaving) {
    // The mascot where the centred dialog does not cover it.
    pmrun.WriteIni(std::wstring(L"[eye]\r\nLeft=950\r\nTop=60\r\n") + kNoEdges);
    ASSERT_TRUE(pmrun.Start());
    const RECT mascot = WindowRect(pmrun.Mascot());
    const std::string before = pmrun.IniBytes();
    HWND dialog = OpenOptions();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ShowGeneralPage(dialog));
    HWND colourButton = ControlWithText(dialog, L"ぱむ太の色を変更");
    ASSERT_NE(colourButton, nullptr);
    ClickCentre(colourButton);

    // The system's colour dialog: the first basic colour, then OK.
    HWND chooser = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w = FindWindowW(L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == pid_ && IsWindowVisible(w) && GetDlgItem(w, 720)) chooser = w;
        }
        return chooser != nullptr;
    }));
    RECT swatches = WindowRect(GetDlgItem(chooser, 720));
    ClickAt(swatches.left + (swatches.right - swatches.left) / 16,
            swatches.top + (swatches.bottom - swatches.top) / 12);
    // Clicked, not posted: a posted message would overtake the click on the swatch.
    ClickCentre(GetDlgItem(chooser, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));

    // The face between the eyes shows the colour now: not yellow any more.
    const COLORREF face = WaitForScreenPixel(mascot.left + 15, mascot.top + 29, RGB(255, 128, 128));
    EXPECT_EQ(face, RGB(255, 128, 128));

    ClickCentre(ControlWithText(dialog, L"ｷｬﾝｾﾙ"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    EXPECT_EQ(WaitForScreenPixel(mascot.left + 15, mascot.top + 29, RGB(255, 128, 128)), RGB(255, 128, 128));
    EXPECT_EQ(pmrun.IniBytes(), before);
    // The panel hot key works again after Cancel.
    PressChord('Z', {VK_MENU});
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(pmrun.Panel()); }));
    ASSERT_TRUE(pmrun.Quit());
}

// Run twice: in Japanese as every test here, and in English by an entry of its own (tests/CMakeLists.txt).
// (Wine keeps a menu's strings in its own process: the menu's English is checked in-process.)
TEST_F(OptionsE2E, TheMenuAndTheOptionsSpeakTheUsersLanguage) {
    const bool english = PRIMARYLANGID(GetUserDefaultUILanguage()) != LANG_JAPANESE;
    pmrun.WriteIni(StandardIni(kNoEdges));
    ASSERT_TRUE(pmrun.Start());
    HWND dialog = OpenOptions();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), english ? L"Pamupamu Launch - Options" : L"ぱむぱむランチ－オプション設定");
    EXPECT_NE(ControlWithText(dialog, english ? L"Shortcut keys" : L"ｼｮｰﾄｶｯﾄｷｰ"), nullptr);
    EXPECT_NE(ControlWithText(dialog, english ? L"Cancel" : L"ｷｬﾝｾﾙ"), nullptr);
    PostMessageW(dialog, WM_CLOSE, 0, 0); // as Cancel
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    ASSERT_TRUE(pmrun.Quit());
}
