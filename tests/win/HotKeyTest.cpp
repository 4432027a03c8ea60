// Global hot keys: registration against the hidden window, the press reaching OnHotKey, and the
// mascot's four keys.

#include "Keys.h"
#include "WinTestSupport.h"

#include "components/Hkhotkey.h"
#include "panel/Btn.h"
#include "ui/Form.h"

#include <commctrl.h>

#include <stdexcept>

using namespace std::chrono_literals;

namespace {

// A combination no desktop holds; the tests register and press it.
constexpr TShortCut kTestKey = scCtrl | scAlt | scShift | VK_F9;

class HotKeyTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        owner = app->CreateOwnedForm<wintest::TestForm>(wintest::Params());
        other = app->CreateOwnedForm<wintest::TestForm>(wintest::Params());
        other->SetLeft(400);
        owner->Show();
        other->Show();
        hotKey = std::make_unique<THookHotKey>(*owner);
        hotKey->OnHotKey = [this](int index) {
            pressed.push_back(index);
            foregroundAtPress = GetForegroundWindow();
        };
    }
    void TearDown() override {
        hotKey.reset();
        wintest::AppTest::TearDown();
    }
    // Puts the other form in front, so that bringing the owner forward can be seen.
    void FocusOther() {
        SetForegroundWindow(other->Handle());
        wintest::PumpUntil([&] { return GetForegroundWindow() == other->Handle(); }, 1s);
        ASSERT_EQ(GetForegroundWindow(), other->Handle());
    }
    wintest::TestForm* owner = nullptr;
    wintest::TestForm* other = nullptr;
    std::unique_ptr<THookHotKey> hotKey;
    std::vector<int> pressed;
    HWND foregroundAtPress = nullptr;
};

} // namespace

TEST(ShortCutNames, TheLayoutNamesTheKeysOutsideTheTable) {
    EXPECT_EQ(TextToShortCut(L"Alt+ESC"), scAlt | VK_ESCAPE);
    EXPECT_EQ(TextToShortCut(L"alt+q"), scAlt | 'Q');
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | VK_F5), L"Shift+Ctrl+F5");
    // Keys without a fixed name are named by the keyboard layout and read back by that name.
    // (Wine names some keys alike, such as Num * and Print Screen; these it names apart.)
    for (WORD key : {VK_DIVIDE, VK_CAPITAL, VK_OEM_1}) {
        const std::wstring text = ShortCutToText(static_cast<TShortCut>(scAlt | key));
        ASSERT_GT(text.size(), 4u) << key;
        EXPECT_EQ(text.substr(0, 4), L"Alt+");
        EXPECT_EQ(TextToShortCut(text), scAlt | key);
    }
    EXPECT_EQ(ShortCutToText(0), L"");
    EXPECT_EQ(TextToShortCut(L""), 0);
    EXPECT_EQ(TextToShortCut(L"no such key"), 0);
}

TEST_F(HotKeyTest, AnIndexHoldsOneKeyUntilItIsUnregistered) {
    ASSERT_TRUE(hotKey->RegisterKey(1, kTestKey));
    EXPECT_FALSE(hotKey->RegisterKey(1, scCtrl | scAlt | scShift | VK_F10)); // the index is taken
    EXPECT_FALSE(hotKey->UnregisterKey(2));                                  // never registered
    EXPECT_TRUE(hotKey->UnregisterKey(1));
    EXPECT_FALSE(hotKey->UnregisterKey(1));
    EXPECT_TRUE(hotKey->RegisterKey(1, kTestKey));

    // The same combination cannot be held twice, not even by a second component.
    THookHotKey second(*other);
    EXPECT_FALSE(second.RegisterKey(5, kTestKey));
    EXPECT_TRUE(hotKey->UnregisterKey(1));
    EXPECT_TRUE(second.RegisterKey(5, kTestKey));
}

TEST_F(HotKeyTest, APressReachesTheHandlerWithItsIndex) {
    ASSERT_TRUE(hotKey->RegisterKey(7, kTestKey));
    FocusOther();
    testfiles::PressChord(VK_F9, {VK_CONTROL, VK_MENU, VK_SHIFT});
    ASSERT_TRUE(wintest::PumpUntil([&] { return !pressed.empty(); }, 2s));
    EXPECT_EQ(pressed, std::vector<int>{7});
    EXPECT_EQ(foregroundAtPress, owner->Handle()); // brought forward before the handler ran

    // Unregistered, the key is an ordinary key again: the window in front gets it.
    ASSERT_TRUE(hotKey->UnregisterKey(7));
    FocusOther();
    wintest::MessageWatch f9(other->Handle(), [](UINT message, WPARAM key, LPARAM) {
        return (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && key == VK_F9;
    });
    testfiles::PressChord(VK_F9, {VK_CONTROL, VK_MENU, VK_SHIFT});
    ASSERT_TRUE(wintest::PumpUntil([&] { return f9.Count() == 1; }, 2s));
    EXPECT_EQ(pressed.size(), 1u);
}

TEST_F(HotKeyTest, ActivateDecidesWhetherTheOwnerComesForward) {
    FocusOther();
    hotKey->Activate = false;
    PostMessageW(hotKey->Handle(), WM_HOTKEY, 3, 0);
    wintest::PumpUntil([&] { return !pressed.empty(); }, 1s);
    EXPECT_EQ(pressed, std::vector<int>{3});
    EXPECT_EQ(foregroundAtPress, other->Handle());

    hotKey->Activate = true;
    PostMessageW(hotKey->Handle(), WM_HOTKEY, 4, 0);
    wintest::PumpUntil([&] { return pressed.size() == 2; }, 1s);
    EXPECT_EQ(pressed, (std::vector<int>{3, 4}));
    EXPECT_EQ(foregroundAtPress, owner->Handle());
}

TEST_F(HotKeyTest, WithoutAHandlerAPressDoesNothing) {
    hotKey->OnHotKey = nullptr;
    FocusOther();
    PostMessageW(hotKey->Handle(), WM_HOTKEY, 1, 0);
    app->ProcessMessages();
    EXPECT_EQ(GetForegroundWindow(), other->Handle()); // not even brought forward
    EXPECT_TRUE(errors.empty());
}

TEST_F(HotKeyTest, AFailingHandlerIsReportedAndLaterKeysStillArrive) {
    hotKey->OnHotKey = [this](int index) {
        pressed.push_back(index);
        if (index == 1) throw std::runtime_error("handler failed");
    };
    PostMessageW(hotKey->Handle(), WM_HOTKEY, 1, 0);
    PostMessageW(hotKey->Handle(), WM_HOTKEY, 2, 0);
    wintest::PumpUntil([&] { return pressed.size() == 2; }, 1s);
    EXPECT_EQ(pressed, (std::vector<int>{1, 2}));
    EXPECT_EQ(errors, std::vector<std::wstring>{L"handler failed"});
}

TEST_F(HotKeyTest, TheHiddenWindowIsMessageOnlyAndGoesWithTheComponent) {
    HWND window = hotKey->Handle();
    ASSERT_TRUE(IsWindow(window));
    // A message-only window has the message root, not the desktop, as its parent.
    EXPECT_NE(GetAncestor(window, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"THookHotKeyWindow", nullptr), window);
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_TRUE(hotKey->RegisterKey(1, kTestKey));
    hotKey.reset();
    EXPECT_FALSE(IsWindow(window));
    // Its keys went with it.
    THookHotKey next(*owner);
    EXPECT_TRUE(next.RegisterKey(1, kTestKey));
}

namespace {

class MascotHotKeyTest : public wintest::AppTest {
protected:
    void TearDown() override {
        SetCursorPos(900, 650);
        wintest::AppTest::TearDown();
    }
};

} // namespace

TEST_F(MascotHotKeyTest, TheFourKeysAreHeldFromCreation) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nApSc=Ctrl+Shift+F7\r\nDApSc=^F8\r\n");
    // Each index is taken, and so is each combination.
    for (int index = 1; index <= 4; ++index)
        EXPECT_FALSE(mascot->HookHotKey1.RegisterKey(index, kTestKey)) << index;
    ui::Form& form = *mascot;
    THookHotKey probe(form);
    EXPECT_FALSE(probe.RegisterKey(1, scShift | scCtrl | VK_F7));
    EXPECT_FALSE(probe.RegisterKey(2, scCtrl | VK_F8));
    EXPECT_FALSE(probe.RegisterKey(3, scAlt | VK_ESCAPE));
    EXPECT_FALSE(probe.RegisterKey(4, scAlt | 'Q'));
    EXPECT_TRUE(probe.RegisterKey(5, scAlt | 'A')); // the default is not used when a key is set
}

TEST_F(MascotHotKeyTest, ThePanelsKeysFollowTheOptionsAndWaitWhileTheOptionsDialogIsOpen) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nApSc=Ctrl+Shift+F7\r\n");
    THookHotKey probe(*mascot);
    ChangeOptions([](EyeOptions& o) { o.ApSc = L"Ctrl+Shift+F9"; });
    EXPECT_TRUE(probe.RegisterKey(5, scShift | scCtrl | VK_F7) && probe.UnregisterKey(5)); // let go
    EXPECT_FALSE(probe.RegisterKey(5, scShift | scCtrl | VK_F9));
    SetEditMode(EditState::Options);
    ChangeOptions([](EyeOptions& o) { o.DApSc = L"Ctrl+Shift+F10"; });
    for (UINT key : {VK_F9, VK_F10})
        EXPECT_TRUE(probe.RegisterKey(6, scShift | scCtrl | key) && probe.UnregisterKey(6)) << key;
    SetEditMode(EditState::None);
    EXPECT_FALSE(probe.RegisterKey(6, scShift | scCtrl | VK_F10));
}

bool Below(HWND window, HWND above) {
    for (HWND next = GetWindow(above, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
        if (next == window) return true;
    return false;
}

TEST_F(MascotHotKeyTest, PressesReachTheMascotsHandler) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
    app->ProcessMessages(); // what the start queued, before the panel is hidden
    BtnF1->Hide();
    // The window the user is in; a show by an edge or a hover leaves it the activation, and the panel
    // comes above it, below the mascot, an ordinary window.
    const HWND user = CreateWindowExW(0, L"STATIC", L"user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200,
                                      100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(user);
    mascot->BtnFormShow();
    EXPECT_EQ(GetForegroundWindow(), user);
    EXPECT_FALSE(GetWindowLongW(BtnF1->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Below(user, BtnF1->Handle()));
    EXPECT_TRUE(Below(BtnF1->Handle(), mascot->Handle()));
    BtnF1->Hide();

    // A hot key activates the panel, still below the mascot; the other gives the user's window back.
    testfiles::PressChord('A', {VK_MENU});
    ASSERT_TRUE(wintest::PumpUntil([this] { return BtnF1->Visible(); }, 2s));
    EXPECT_EQ(GetForegroundWindow(), BtnF1->Handle());
    EXPECT_TRUE(Below(BtnF1->Handle(), mascot->Handle()));
    EXPECT_TRUE(BtnF1->ToolBar1.ShowCaptions());
    POINT p{};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, BtnF1->Left() + 10);
    EXPECT_EQ(p.y, BtnF1->Top() + 10);

    testfiles::PressChord('Z', {VK_MENU});
    ASSERT_TRUE(wintest::PumpUntil([this] { return !BtnF1->Visible(); }, 2s));
    EXPECT_FALSE(BtnF1->ToolBar1.ShowCaptions());
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_EQ(GetForegroundWindow(), user);
    DestroyWindow(user);
}

TEST_F(MascotHotKeyTest, EmptyOrUnknownKeyTextsRegisterNothingUsable) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nApSc=\r\nDApSc=Hyper+X\r\n");
    ui::Form& form = *mascot;
    THookHotKey probe(form);
    // Alt+A and Alt+Z stay free for others.
    EXPECT_TRUE(probe.RegisterKey(1, scAlt | 'A'));
    EXPECT_TRUE(probe.RegisterKey(2, scAlt | 'Z'));
    EXPECT_TRUE(errors.empty());
}

namespace {

bool g_menuLoopEntered = false;
LRESULT CALLBACK WatchMenuLoop(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_ENTERMENULOOP) g_menuLoopEntered = true;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
void CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

} // namespace

TEST_F(MascotHotKeyTest, TheAltOfAHotKeyPutsNoWindowIntoMenuMode) {
    TpamuF* mascot = StartProgram(L"[eye]\r\nLWall=2\r\nTWall=2\r\nRWall=2\r\nBWall=2\r\n");
    mascot->Show();
    SetWindowSubclass(mascot->Handle(), WatchMenuLoop, 1, 0);
    // What the release of Alt alone asks for; a menu loop that does start is ended by the timer.
    auto loneAlt = [&] {
        g_menuLoopEntered = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, EndAnyMenu);
        // A menu loop runs inside the call until the timer ends it; without one the timer is not needed.
        SendMessageW(mascot->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
        KillTimer(nullptr, timer);
        return g_menuLoopEntered;
    };
    PostMessageW(mascot->HookHotKey1.Handle(), WM_HOTKEY, 2, MAKELPARAM(MOD_ALT, 'Z'));
    app->ProcessMessages();
    EXPECT_FALSE(loneAlt()); // the hot key's own Alt
    EXPECT_TRUE(loneAlt());  // a later Alt alone still opens the menu, as everywhere
    RemoveWindowSubclass(mascot->Handle(), WatchMenuLoop, 1);
}
