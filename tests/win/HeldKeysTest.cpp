// Hot keys another program holds: the tray icon's balloon, once a run, and the note beside the field of
// the options dialog, with the keys held by a window of the test.

#include "WinTestSupport.h"

#include "base/WinUtil.h"
#include "components/Hkhotkey.h"
#include "components/TrShlApi.h"
#include "dialogs/OptSet.h"

#include <string>
#include <vector>

namespace {

constexpr wchar_t kQuietEdges[] = L"LWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n";

// The balloon texts the tray asked the shell to show.
std::vector<std::wstring>* g_balloons = nullptr;

BOOL WINAPI BalloonLoggingNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    if (data->uFlags & NIF_INFO) g_balloons->push_back(data->szInfo);
    return Shell_NotifyIconW(message, data);
}

class HeldKeysTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        g_balloons = &balloons;
        TrayShell().NotifyIcon = BalloonLoggingNotifyIcon;
        holder = app->CreateOwnedForm<wintest::TestForm>(wintest::Params());
    }
    void TearDown() override {
        for (int id = 1; id <= nextId; ++id)
            UnregisterHotKey(holder->Handle(), id);
        TrayShell() = TrayShellPlatform{};
        g_balloons = nullptr;
        wintest::AppTest::TearDown();
    }
    // Holds the combination as another program would; the id to free it with.
    int Hold(UINT modifiers, UINT key) {
        const int id = ++nextId;
        EXPECT_TRUE(RegisterHotKey(holder->Handle(), id, modifiers, key)) << key;
        return id;
    }
    TpamuF* Start(const std::wstring& eyeKeys = L"") {
        return StartProgram(L"[eye]\r\n" + eyeKeys + kQuietEdges);
    }
    static std::wstring Note(const ui::Label& label) { return base::WindowText(label.Handle()); }
    // As the menu opens it: the panel's keys rest while it is open.
    TOptSetF* Open(TpamuF* mascot) {
        SetEditMode(EditState::Options);
        return mascot->CreateOptionsDialog();
    }

    std::vector<std::wstring> balloons;
    wintest::TestForm* holder = nullptr;
    int nextId = 0;
};

} // namespace

TEST_F(HeldKeysTest, KeysHeldAtStartAreToldOnceAndAFreedKeyIsTakenAtOk) {
    const int altA = Hold(MOD_ALT, 'A');
    Hold(MOD_ALT, 'Q');
    TpamuF* mascot = Start();
    EXPECT_EQ(balloons, (std::vector<std::wstring>{L"Alt+A は他のプログラムが使用中です\n"
                                                   L"Alt+Q は他のプログラムが使用中です"}));

    TOptSetF* dialog = Open(mascot);
    EXPECT_EQ(Note(dialog->HeldNote1), L"Alt+A は他のプログラムが使用中です");
    EXPECT_EQ(Note(dialog->HeldNote2), L""); // Alt+Z is free
    dialog->Button2Click();
    // Cancel tries Alt+A again and fails again: it stays noted, but the balloon is not shown twice.
    EXPECT_EQ(balloons.size(), 1u);
    TOptSetF* again = Open(mascot);
    EXPECT_EQ(Note(again->HeldNote1), L"Alt+A は他のプログラムが使用中です");

    UnregisterHotKey(holder->Handle(), altA);
    again->Button1Click();
    EXPECT_FALSE(RegisterHotKey(holder->Handle(), 99, MOD_ALT, 'A')); // the mascot took it
    EXPECT_EQ(Note(Open(mascot)->HeldNote1), L"");
    EXPECT_EQ(balloons.size(), 1u);
}

TEST_F(HeldKeysTest, AKeyChosenAndHeldIsToldAfterOkOnceTheIconShows) {
    TpamuF* mascot = Start();
    EXPECT_TRUE(balloons.empty());
    Hold(MOD_CONTROL | MOD_SHIFT, VK_F7);
    TOptSetF* dialog = Open(mascot);
    EXPECT_EQ(Note(dialog->HeldNote1), L"");
    dialog->HotKey1.SetValue(scCtrl | scShift | VK_F7);
    dialog->CheckBox2.SetChecked(true); // the icon hides: no balloon, the dialog still notes it
    dialog->Button1Click();
    EXPECT_TRUE(balloons.empty());
    TOptSetF* again = Open(mascot);
    EXPECT_EQ(Note(again->HeldNote1), L"Shift+Ctrl+F7 は他のプログラムが使用中です");
    EXPECT_EQ(Note(again->HeldNote2), L"");

    again->CheckBox2.SetChecked(false);
    again->Button1Click();
    EXPECT_EQ(balloons, (std::vector<std::wstring>{L"Shift+Ctrl+F7 は他のプログラムが使用中です"}));
}

TEST_F(HeldKeysTest, AnEmptyKeyIsNeverHeld) {
    TpamuF* mascot = Start(L"ApSc=\r\n");
    EXPECT_TRUE(balloons.empty());
    EXPECT_EQ(Note(Open(mascot)->HeldNote1), L"");
}
