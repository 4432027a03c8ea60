// The real pmrun.exe driven through the mascot's menu: the three edit modes and what greys out while one
// is on, a swap given up half way, the settings dialog an unassigned button opens, the guide the help
// opens, the version box and quitting.

#include "PmrunProcess.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace e2e;

namespace {

// Each item's place in the menu; separators do not count. The two Windows items would end every process
// of the prefix: neither is chosen.
constexpr int kOptions = 1, kDetails = 2, kRemove = 3, kSwap = 4, kHelp = 5, kVersion = 6;

constexpr COLORREF kYellow = RGB(255, 255, 0), kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 128, 0);

const std::wstring kDatePrefix = L"ぱむぱむランチ　";

// Characters as the keyboard would type them, whatever the layout.
void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT keys[2]{};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = c;
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
}

// Makes program the one that opens .html files, and puts back what was there when it goes. Machine-wide:
// Wine's shell does not read the user's own file types.
class HtmlOpensWith {
public:
    explicit HtmlOpensWith(const std::wstring& program) {
        wchar_t value[256]{};
        DWORD size = sizeof(value);
        had_ = RegGetValueW(HKEY_LOCAL_MACHINE, kHtml, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) ==
               ERROR_SUCCESS;
        before_ = value;
        Set(kHtml, L"pmrun.test.html");
        Set((std::wstring(kType) + L"\\shell\\open\\command").c_str(), L"\"" + program + L"\" \"%1\"");
    }
    ~HtmlOpensWith() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kType);
        if (had_)
            Set(kHtml, before_);
        else
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, kHtml);
    }
    HtmlOpensWith(const HtmlOpensWith&) = delete;
    HtmlOpensWith& operator=(const HtmlOpensWith&) = delete;

private:
    static constexpr const wchar_t* kHtml = L"Software\\Classes\\.html";
    static constexpr const wchar_t* kType = L"Software\\Classes\\pmrun.test.html";
    static void Set(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool had_ = false;
    std::wstring before_;
};

std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> texts;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(WindowText(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class MenuE2E : public E2ETest {
protected:
    // The mascot at 600, 400 with the default colour, the panel at 100, 100 with the design width.
    bool Start(const std::wstring& buttons) {
        pmrun.WriteIni(StandardIni(kNoEdges, buttons));
        return pmrun.Start();
    }

    // A pixel of the face between and below the eyes, once it has the colour or after three seconds.
    COLORREF Face(COLORREF wanted) const {
        RECT m = WindowRect(pmrun.Mascot());
        return WaitForScreenPixel(m.left + 15, m.top + 29, wanted);
    }
    std::wstring Caption() const { return WindowText(pmrun.Panel()); }
    bool CaptionBecomes(const std::wstring& caption) const {
        return WaitFor([&] { return Caption() == caption; });
    }
    bool DateCaptionBack() const {
        return WaitFor([&] { return Caption().starts_with(kDatePrefix); });
    }
    // A shown top-level window of the program: hidden ones of the same class may exist beside it.
    HWND Shown(const wchar_t* className) const {
        DWORD pid = 0;
        GetWindowThreadProcessId(pmrun.Mascot(), &pid);
        return FindProcessWindow(pid, className, true);
    }
    bool MenuOpen() const { return Shown(L"#32768") != nullptr; }
    // A point given in the client coordinates of a window, on the screen.
    static POINT OnScreen(HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return p;
    }
    static void ClickInside(HWND window, int x, int y) {
        POINT p = OnScreen(window, x, y);
        ClickAt(p.x, p.y);
    }
};

} // namespace

TEST_F(MenuE2E, EachModeItemColoursTheMascotGreysTheOtherItemsAndEndsWhenChosenAgain) {
    struct Mode {
        int item;
        COLORREF colour;
        const wchar_t* prompt;
    };
    const Mode modes[] = {{kDetails, kBlue, L"詳細設定するボタンを選択してください"},
                          {kSwap, kRed, L"入れ替え元のボタンを押してください"},
                          {kRemove, kGreen, L"設定を解除するボタンを選択してください"}};
    ASSERT_TRUE(Start(L"[btn1]\r\npg=C:\\one.exe\r\nlb=いち\r\n"));
    const std::string before = pmrun.IniBytes();
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.item);
        ASSERT_TRUE(pmrun.ChooseMenuItem(mode.item));
        ASSERT_TRUE(CaptionBecomes(mode.prompt)) << ToAnsi(Caption());
        EXPECT_EQ(Face(mode.colour), mode.colour);

        for (int other : {kOptions, kDetails, kRemove, kSwap}) {
            if (other == mode.item) continue;
            ASSERT_TRUE(pmrun.ChooseMenuItem(other)); // returns once a wrongly enabled item would have acted
            EXPECT_TRUE(WaitFor([&] { return !MenuOpen(); })) << other;
            EXPECT_EQ(Caption(), mode.prompt) << other;
            EXPECT_EQ(Face(mode.colour), mode.colour) << other;
            EXPECT_EQ(Shown(L"TOptSetF"), nullptr) << other;
        }

        ASSERT_TRUE(pmrun.ChooseMenuItem(mode.item));
        EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
        EXPECT_EQ(Face(kYellow), kYellow);
    }
    EXPECT_EQ(pmrun.IniBytes(), before);

    // With no mode on, the options item is available again.
    ASSERT_TRUE(pmrun.ChooseMenuItem(kOptions));
    HWND options = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (options = Shown(L"TOptSetF")) != nullptr; }));
    if (options) {
        PostMessageW(options, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return Shown(L"TOptSetF") == nullptr; }));
    }
}

TEST_F(MenuE2E, ModeKeepsThePanelShownThatTheHoverRuleHides) {
    // No hot keys and no edges: while the program is in front, the panel shows only with the pointer
    // over it.
    pmrun.WriteIni(std::wstring(L"[eye]\r\nLeft=600\r\nTop=400\r\nApSc=\r\nDApSc=\r\nPamuHide=No\r\n") +
                   kNoEdges + L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\nheight=220\r\n");
    ASSERT_TRUE(pmrun.Start());
    ASSERT_TRUE(pmrun.MovePointerForTick(150, 150));
    HWND panel = pmrun.Panel();
    SetForegroundWindow(panel);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }));
    ASSERT_TRUE(pmrun.MovePointerForTick(300, 280)); // still over the panel
    EXPECT_TRUE(pmrun.PanelVisible());
    SetCursorPos(kRestX, kRestY);
    ASSERT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); }));

    ASSERT_TRUE(pmrun.OpenMenu());
    ASSERT_TRUE(MenuOpen());
    EXPECT_FALSE(pmrun.PanelVisible());
    TypeKey(VK_DOWN); // from the last item round to the first
    TypeKey(VK_DOWN);
    TypeKey(VK_RETURN);
    ASSERT_TRUE(CaptionBecomes(L"詳細設定するボタンを選択してください")) << ToAnsi(Caption());
    EXPECT_TRUE(pmrun.PanelVisible());
    EXPECT_EQ(Face(kBlue), kBlue);
    // Pupils that move after the face turned blue were moved by a tick of the mode, which applied the hover
    // rule with the pointer away from the panel (the pupils may still show any place the pointer had since
    // it rested).
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    EXPECT_TRUE(pmrun.PanelVisible());

    ASSERT_TRUE(pmrun.ChooseMenuItem(kDetails));
    EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
    EXPECT_EQ(Face(kYellow), kYellow);
    EXPECT_TRUE(WaitFor([&] { return !pmrun.PanelVisible(); })); // the rule applies again
}

TEST_F(MenuE2E, SwapGivenUpAfterPickingTheSourceStartsAfreshNextTime) {
    ASSERT_TRUE(Start(L"[btn1]\r\npg=C:\\one.exe\r\nlb=いち\r\n[btn3]\r\npg=C:\\three.exe\r\nlb=さん\r\n"));
    const std::string before = pmrun.IniBytes();
    ASSERT_TRUE(pmrun.ChooseMenuItem(kSwap));
    ASSERT_TRUE(CaptionBecomes(L"入れ替え元のボタンを押してください"));
    pmrun.ClickButton(1);
    ASSERT_TRUE(CaptionBecomes(L"入れ替え先のボタンを押してください"));

    ASSERT_TRUE(pmrun.ChooseMenuItem(kSwap)); // given up
    EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
    EXPECT_EQ(Face(kYellow), kYellow);
    EXPECT_EQ(pmrun.IniBytes(), before);

    // The first click picks a source again instead of finishing the swap with button 1.
    ASSERT_TRUE(pmrun.ChooseMenuItem(kSwap));
    ASSERT_TRUE(CaptionBecomes(L"入れ替え元のボタンを押してください"));
    EXPECT_EQ(Face(kRed), kRed);
    pmrun.ClickButton(3);
    EXPECT_TRUE(CaptionBecomes(L"入れ替え先のボタンを押してください"));
    // A tick comes after the click and all it might have posted.
    ASSERT_TRUE(pmrun.MovePointerForTick(kRestX, kRestY));
    EXPECT_EQ(Caption(), L"入れ替え先のボタンを押してください");
    EXPECT_EQ(Face(kRed), kRed);
    EXPECT_EQ(pmrun.IniBytes(), before);

    // The second click finishes it with the new source.
    pmrun.ClickButton(2);
    EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
    EXPECT_EQ(Face(kYellow), kYellow);
    EXPECT_EQ(pmrun.Saved(2, "pg"), "C:\\three.exe");
    EXPECT_EQ(pmrun.Saved(2, "lb"), ToAnsi(L"さん"));
    EXPECT_EQ(pmrun.Saved(3, "pg"), "");
    EXPECT_EQ(pmrun.Saved(3, "lb"), "");
    EXPECT_EQ(pmrun.Saved(1, "pg"), "C:\\one.exe");
    EXPECT_EQ(pmrun.Saved(1, "lb"), ToAnsi(L"いち"));
}

TEST_F(MenuE2E, UnassignedButtonOpensItsSettingsBelowThePanelAndCancelEndsTheMode) {
    ASSERT_TRUE(Start(L"[btn1]\r\npg=C:\\one.exe\r\nlb=いち\r\n"));
    const std::string before = pmrun.IniBytes();
    pmrun.ClickButton(3);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = Shown(L"TBtnSetF")) != nullptr; }));
    EXPECT_EQ(WindowText(dialog), L"ボタン3の詳細設定");
    EXPECT_EQ(Face(kBlue), kBlue);
    EXPECT_EQ(Caption(), L"ボタンの詳細設定中");
    const RECT panel = WindowRect(pmrun.Panel()), placed = WindowRect(dialog);
    EXPECT_EQ(placed.left, panel.left);
    EXPECT_EQ(placed.top, panel.bottom);

    // The other mode items are greyed meanwhile.
    for (int other : {kRemove, kSwap}) {
        ASSERT_TRUE(pmrun.ChooseMenuItem(other)); // returns once a wrongly enabled item would have acted
        EXPECT_TRUE(WaitFor([&] { return !MenuOpen(); })) << other;
        EXPECT_EQ(Face(kBlue), kBlue) << other;
        EXPECT_EQ(Caption(), L"ボタンの詳細設定中") << other;
    }
    ASSERT_EQ(Shown(L"TBtnSetF"), dialog);

    ClickInside(dialog, 80 + 32, 135 + 12); // ｷｬﾝｾﾙ
    EXPECT_TRUE(WaitFor([&] { return Shown(L"TBtnSetF") == nullptr; }));
    EXPECT_EQ(Face(kYellow), kYellow);
    EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
    EXPECT_EQ(pmrun.IniBytes(), before);

    // Ended for the menu too: another mode can be entered and left.
    ASSERT_TRUE(pmrun.ChooseMenuItem(kSwap));
    EXPECT_TRUE(CaptionBecomes(L"入れ替え元のボタンを押してください")) << ToAnsi(Caption());
    EXPECT_EQ(Face(kRed), kRed);
    ASSERT_TRUE(pmrun.ChooseMenuItem(kSwap));
    EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
}

TEST_F(MenuE2E, TypedProgramPathFillsTheOtherFieldsAndOkStoresThem) {
    ASSERT_TRUE(Start(L""));
    const std::wstring program = pmrun.Folder() + L"\\pmrun.exe";
    pmrun.ClickButton(3);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = Shown(L"TBtnSetF")) != nullptr; }));
    ASSERT_EQ(WindowText(dialog), L"ボタン3の詳細設定");
    HWND edit1 = ChildWindowFromPointEx(dialog, POINT{80 + 88, 10 + 10}, CWP_SKIPINVISIBLE);
    ASSERT_NE(edit1, dialog);
    ClickInside(dialog, 80 + 88, 10 + 10);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(dialog) == edit1; }));
    TypeText(program);
    ASSERT_TRUE(WaitFor([&] { return ControlText(edit1) == program; }, 10000)) << ToAnsi(ControlText(edit1));
    // The program's icons are counted as they answer.
    HWND count = ChildWindowFromPointEx(dialog, POINT{120 + 85, 110 + 10}, CWP_SKIPINVISIBLE);
    EXPECT_TRUE(WaitFor([&] { return ControlText(count).ends_with(L"個のアイコンがあります"); }))
        << ToAnsi(ControlText(count));

    ClickInside(dialog, 220 + 34, 135 + 12); // OK
    EXPECT_TRUE(WaitFor([&] { return Shown(L"TBtnSetF") == nullptr; }));
    EXPECT_EQ(Face(kYellow), kYellow);
    EXPECT_TRUE(DateCaptionBack()) << ToAnsi(Caption());
    EXPECT_TRUE(pmrun.PanelVisible());
    EXPECT_EQ(pmrun.Saved(3, "pg"), ToAnsi(program));
    EXPECT_EQ(pmrun.Saved(3, "ic"), ToAnsi(program)); // found empty when the path was complete
    EXPECT_EQ(pmrun.Saved(3, "icidx"), "0");
    EXPECT_EQ(pmrun.Saved(3, "dr"), ToAnsi(pmrun.Folder() + L"\\"));
    // The hint is filled only while empty, so by the first character typed.
    EXPECT_EQ(pmrun.Saved(3, "lb"), ToAnsi(program.substr(0, 1)));
    EXPECT_EQ(pmrun.Saved(3, "op"), "");
}

TEST_F(MenuE2E, HelpOpensTheGuideBesideTheProgramInTheBrowser) {
    // The "browser": the launch probe, made the program for .html files while the test runs.
    const std::wstring browser = pmrun.CopyProbe(L"browser.exe");
    const HtmlOpensWith association(browser);
    const std::wstring guide = pmrun.Folder() + L"\\guide";
    CreateDirectoryW(guide.c_str(), nullptr);
    CopyFileW((ExeFolder() + L"\\guide\\guide.ja.html").c_str(), (guide + L"\\guide.ja.html").c_str(), FALSE);

    ASSERT_TRUE(Start(L""));
    ASSERT_TRUE(pmrun.ChooseMenuItem(kHelp));
    ASSERT_TRUE(WaitFor([&] { return ProbeStarts(browser).size() == 1; }));
    // The Japanese page, as the prefix's interface language is Japanese.
    EXPECT_NE(ProbeStarts(browser)[0].commandLine.find(guide + L"\\guide.ja.html"), std::wstring::npos);
    EXPECT_FALSE(pmrun.ExceptionBox());
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(pmrun.Id(), L"browser.exe"); }));
}

TEST_F(MenuE2E, VersionBoxShowsTheVersionAndEnterClosesIt) {
    ASSERT_TRUE(Start(L""));
    ASSERT_TRUE(pmrun.ChooseMenuItem(kVersion));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = Shown(L"TVerDlgF")) != nullptr; }));
    EXPECT_EQ(WindowText(box), L"ﾊﾞｰｼﾞｮﾝ情報");
    const auto texts = ChildTexts(box);
    EXPECT_TRUE(Contains(texts, L"Ver 2.04"));
    EXPECT_TRUE(Contains(texts, L"ぱむぱむランチ"));
    EXPECT_FALSE(IsWindowEnabled(pmrun.Mascot())); // modal
    EXPECT_FALSE(IsWindowEnabled(pmrun.Panel()));

    SetForegroundWindow(box);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }));
    TypeKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return Shown(L"TVerDlgF") == nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(pmrun.Mascot()) && IsWindowEnabled(pmrun.Panel()); }));
    EXPECT_TRUE(pmrun.Running());
}

TEST_F(MenuE2E, QuitItemEndsTheProgramAndSavesTheSettings) {
    ASSERT_TRUE(Start(L"[btn1]\r\npg=C:\\one.exe\r\nlb=いち\r\n"));
    ASSERT_TRUE(pmrun.OpenMenu());
    ASSERT_TRUE(MenuOpen());
    TypeKey(VK_RETURN); // the pointer rests on the last item, past both Windows items
    ASSERT_TRUE(WaitFor([&] { return !pmrun.Running(); }, 10000));
    EXPECT_EQ(pmrun.ExitCode(), 0u);
    const auto keys = ParseIni(pmrun.IniBytes());
    EXPECT_EQ(Sorted(KeyOrder(keys)), Sorted(CompleteLayout()));
    EXPECT_EQ(ValueOf(keys, "eye", "Left"), "600");
    EXPECT_EQ(ValueOf(keys, "eye", "Top"), "400");
    EXPECT_EQ(ValueOf(keys, "eye", "LWall"), "2");
    EXPECT_EQ(ValueOf(keys, "btnform", "left"), "100");
    EXPECT_EQ(ValueOf(keys, "btn1", "pg"), "C:\\one.exe");
    EXPECT_EQ(ValueOf(keys, "btn1", "lb"), ToAnsi(L"いち"));
}
