// The startup shortcut (written and read back through the shell's link object, the folder found by the
// shell or else by the registry, never anywhere else) and the owner-drawn colour button.

#include "WinTestSupport.h"

#include "base/ComPtr.h"
#include "components/CtrlsEx.h"
#include "components/MakeShortCut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <array>

using namespace std::chrono_literals;

namespace {

struct LinkContents {
    std::wstring target, arguments, folder, description;
};

LinkContents ReadLink(const std::wstring& path) {
    LinkContents contents;
    base::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())))
        return contents;
    base::ComPtr<IPersistFile> file;
    link->QueryInterface(IID_IPersistFile, file.put());
    if (!file || FAILED(file->Load(path.c_str(), STGM_READ))) return contents;
    std::array<wchar_t, 32768> text{};
    link->GetPath(text.data(), static_cast<int>(text.size()), nullptr, SLGP_RAWPATH);
    contents.target = text.data();
    link->GetArguments(text.data(), static_cast<int>(text.size()));
    contents.arguments = text.data();
    link->GetWorkingDirectory(text.data(), static_cast<int>(text.size()));
    contents.folder = text.data();
    link->GetDescription(text.data(), static_cast<int>(text.size()));
    contents.description = text.data();
    return contents;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HRESULT WINAPI NoKnownFolder(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR* path) {
    *path = nullptr;
    return E_FAIL;
}

class ShortCutTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        link.SCFileName = L"ぱむぱむランチ.lnk";
        link.SCSystemPath = TSysPath::tpStartup;
    }
    void TearDown() override {
        if (const auto path = link.ShortCutPath()) DeleteFileW(path->c_str());
        TMakeShortCut::Platform() = MakeShortCutPlatform{};
        wintest::AppTest::TearDown();
    }
    TMakeShortCut link;
};

} // namespace

TEST_F(ShortCutTest, ConstructedValuesAndTheShowCommands) {
    TMakeShortCut fresh;
    EXPECT_EQ(fresh.SCSystemPath, TSysPath::tpBlank);
    EXPECT_EQ(fresh.SCShowCmd, TShowMode::tsNormal);
    EXPECT_EQ(TMakeShortCut::ShowCommand(TShowMode::tsNormal), SW_SHOWNORMAL);
    EXPECT_EQ(TMakeShortCut::ShowCommand(TShowMode::tsMax), SW_SHOWMAXIMIZED);
    EXPECT_EQ(TMakeShortCut::ShowCommand(TShowMode::tsMin), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(TMakeShortCut::ShowCommand(static_cast<TShowMode>(9)), SW_SHOW);
}

TEST_F(ShortCutTest, WrittenTwiceOneFileReadsBackAsWritten) {
    wchar_t startup[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, startup), S_OK);
    const auto path = link.ShortCutPath();
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, std::wstring(startup) + L"\\ぱむぱむランチ.lnk");

    link.SCExecFile = L"C:\\Program Files\\ぱむ\\first.exe";
    link.CreateShortCut();
    link.SCExecFile = L"C:\\Program Files\\ぱむ\\pmrun.exe";
    link.SCArguments = L"/quiet \"with space\"";
    link.SCWorkDir = L"C:\\Program Files\\ぱむ";
    link.SCDescription = L"ぱむぱむランチ";
    link.SCShowCmd = TShowMode::tsMin;
    link.CreateShortCut();
    ASSERT_TRUE(Exists(*path));
    const LinkContents read = ReadLink(*path);
    EXPECT_EQ(read.target, L"C:\\Program Files\\ぱむ\\pmrun.exe");
    EXPECT_EQ(read.arguments, L"/quiet \"with space\"");
    EXPECT_EQ(read.folder, L"C:\\Program Files\\ぱむ");
    EXPECT_EQ(read.description, L"ぱむぱむランチ");
    // Wine's link object does not load the show command back; the file's header holds it (offset 0x3C).
    const std::string bytes = wintest::ReadFileBytes(*path);
    ASSERT_GT(bytes.size(), 0x40u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x4Cu);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0x3C]), static_cast<unsigned>(SW_SHOWMINNOACTIVE));
    // Only the one file: nothing else with the name in the folder.
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((std::wstring(startup) + L"\\ぱむぱむランチ*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int files = 1;
    while (FindNextFileW(search, &found))
        ++files;
    FindClose(search);
    EXPECT_EQ(files, 1);

    link.DeleteShortCut();
    EXPECT_FALSE(Exists(*path));
    link.DeleteShortCut(); // already gone: silent
    EXPECT_FALSE(Exists(*path));
}

TEST_F(ShortCutTest, BlankWritesIntoTheCurrentFolder) {
    const std::wstring folder = wintest::TempPath(L"pmrun-shortcut-here");
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t previous[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.c_str());
    TMakeShortCut here;
    here.SCFileName = L"here.lnk";
    here.SCExecFile = L"C:\\windows\\notepad.exe";
    EXPECT_EQ(here.ShortCutPath(), std::optional<std::wstring>(L"here.lnk"));
    here.CreateShortCut();
    EXPECT_TRUE(Exists(folder + L"\\here.lnk"));
    here.DeleteShortCut();
    EXPECT_FALSE(Exists(folder + L"\\here.lnk"));
    SetCurrentDirectoryW(previous);
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ShortCutTest, WithoutTheShellsAnswerTheRegistryValueNamesTheFolder) {
    TMakeShortCut::Platform().KnownFolderPath = NoKnownFolder;
    wchar_t startup[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, startup), S_OK);
    const auto path = link.ShortCutPath();
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, std::wstring(startup) + L"\\ぱむぱむランチ.lnk");
}

TEST_F(ShortCutTest, WithNoFolderAtAllNothingIsWrittenAnywhereAndNoKeyIsMade) {
    TMakeShortCut::Platform().KnownFolderPath = NoKnownFolder;
    // The current user's keys taken from an empty key for the length of the test.
    HKEY empty = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\pmrun-test-empty-user", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &empty, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, empty), ERROR_SUCCESS);
    const auto path = link.ShortCutPath();
    link.SCExecFile = L"C:\\windows\\notepad.exe";
    link.DeleteShortCut();
    HKEY explorer = nullptr;
    const LONG opened = RegOpenKeyExW(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", 0, KEY_READ, &explorer);
    // (The shell's own start-up may make keys of its own, so the link object comes after the look.)
    link.CreateShortCut();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (explorer) RegCloseKey(explorer);
    RegCloseKey(empty);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\pmrun-test-empty-user");
    EXPECT_FALSE(path);
    EXPECT_NE(opened, ERROR_SUCCESS); // not created as a side effect
    EXPECT_FALSE(Exists(L"C:\\ぱむぱむランチ.lnk"));
    EXPECT_FALSE(Exists(L"\\ぱむぱむランチ.lnk"));
}

TEST_F(ShortCutTest, ALinkObjectThatCannotBeMadeRaisesTheComError) {
    TMakeShortCut::Platform().CreateInstance = [](REFCLSID, LPUNKNOWN, DWORD, REFIID,
                                                  LPVOID* out) -> HRESULT {
        *out = nullptr;
        return E_NOINTERFACE;
    };
    link.SCExecFile = L"C:\\windows\\notepad.exe";
    try {
        link.CreateShortCut();
        FAIL() << "no error";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.ErrorCode(), E_NOINTERFACE);
        EXPECT_EQ(e.SystemError(), static_cast<std::uint32_t>(E_NOINTERFACE));
        EXPECT_EQ(e.Message(), L"OLE error 80004002");
    }
    EXPECT_FALSE(Exists(*link.ShortCutPath()));
}

namespace {

// The button with its painting opened up, to look at what it draws.
class PaintedButton : public TButtonEx {
public:
    using TButtonEx::DrawButton;
    using TButtonEx::TButtonEx;
};

// Paints the button into a bitmap of its size and returns the pixels.
std::vector<COLORREF> PaintPixels(PaintedButton& button, int width, int height, UINT state) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = button.Handle();
    item.hDC = dc;
    item.rcItem = {0, 0, width, height};
    item.itemState = state;
    LRESULT result = 0;
    button.HandleReflected(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), result);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Text is drawn smoothed: its pixels are red-ish rather than exactly red.
bool Reddish(COLORREF c) {
    return GetRValue(c) > 160 && GetGValue(c) < 120 && GetBValue(c) < 120;
}

int CountReddish(const std::vector<COLORREF>& pixels) {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), Reddish));
}

class ButtonExTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        form = app->CreateForm<wintest::TestForm>(wintest::Params(300, 200));
        form->DialogKeys = true;
        form->Show();
    }
    wintest::TestForm* form = nullptr;
};

} // namespace

TEST_F(ButtonExTest, ModalResultSetsTheStandardCaptionAndReachesTheForm) {
    TButtonEx button(*form, {10, 10, 137, 25}, L"ぱむ太の色を変更", 7);
    EXPECT_EQ(button.Text(), L"ぱむ太の色を変更"); // as the form's data gives it
    EXPECT_EQ(button.ModalResult(), 7);
    button.SetModalResult(7);
    EXPECT_EQ(button.Text(), L"いいえ(&N)");
    button.SetModalResult(0);
    EXPECT_EQ(button.Text(), L"いいえ(&N)");
    button.SetModalResult(9);
    EXPECT_EQ(button.Text(), L"いいえ(&N)");
    const wchar_t* captions[] = {L"OK",       L"ｷｬﾝｾﾙ",    L"中止(&A)",   L"再試行(&R)",
                                 L"無視(&I)", L"はい(&Y)", L"いいえ(&N)", L"すべて"};
    for (int value = 1; value <= 8; ++value) {
        button.SetModalResult(value);
        EXPECT_EQ(button.Text(), captions[value - 1]);
    }
    button.SetModalResult(6);
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ModalResult, 6);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonExTest, ChangingTheStyleMakesTheWindowAnewOwnerDrawn) {
    TButtonEx button(*form, {10, 10, 137, 25}, L"色");
    EXPECT_EQ(GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    HWND before = button.Handle();
    button.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame);
    EXPECT_NE(button.Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(button.Text(), L"色");
    RECT r = button.BoundsInParent();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 137);
    HWND owner = button.Handle();
    button.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame); // the same: nothing
    EXPECT_EQ(button.Handle(), owner);
    // Clicks still arrive after the window was made anew.
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonExTest, TheCaptionShowsInTheFontColourOnlyWhenOwnerDrawn) {
    PaintedButton button(*form, {10, 10, 137, 25}, L"ぱむ太の色を変更");
    button.SetFontColor(clRed);
    button.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame);
    const auto face = PaintPixels(button, 137, 25, 0);
    EXPECT_GT(CountReddish(face), 20);
    // The standard button ignores the colour.
    TButtonEx standard(*form, {10, 50, 137, 25}, L"ぱむ太の色を変更");
    standard.SetFontColor(clRed);
    UpdateWindow(standard.Handle());
    HDC dc = GetDC(standard.Handle());
    int red = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 137; ++x)
            red += Reddish(GetPixel(dc, x, y));
    ReleaseDC(standard.Handle(), dc);
    EXPECT_EQ(red, 0);
}

TEST_F(ButtonExTest, TheFaceShrinksByFourAndMovesWhenPressed) {
    PaintedButton button(*form, {10, 10, 137, 41}, L"two\nlines");
    button.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame);
    std::vector<RECT> rects;
    std::vector<UINT> states;
    button.OnDrawButton = [&](TButtonEx&, const RECT& r, UINT state) {
        rects.push_back(r);
        states.push_back(state);
    };
    PaintPixels(button, 137, 41, 0);
    PaintPixels(button, 137, 41, ODS_SELECTED | ODS_FOCUS);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].left, 4);
    EXPECT_EQ(rects[0].top, 4);
    EXPECT_EQ(rects[0].right, 133);
    EXPECT_EQ(rects[0].bottom, 37);
    EXPECT_EQ(rects[1].left, 5); // pressed: one pixel right and down
    EXPECT_EQ(rects[1].top, 5);
    EXPECT_EQ(rects[1].right, 133);
    EXPECT_EQ(rects[1].bottom, 37);
    EXPECT_EQ(states[1], static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    // The plain owner-drawn face has no frame: the whole rectangle.
    button.SetSytle(TButtonExStyle::bsOwnerDraw);
    PaintPixels(button, 137, 41, 0);
    EXPECT_EQ(rects[2].left, 0);
    EXPECT_EQ(rects[2].right, 137);
}

TEST_F(ButtonExTest, AWrappedCaptionStaysCentredAsABlock) {
    PaintedButton button(*form, {10, 10, 120, 60}, L"ぱむ太の色を変更するボタン");
    button.SetFontColor(clRed);
    button.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame);
    const auto pixels = PaintPixels(button, 120, 60, 0);
    int left = 120, right = -1, top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            if (Reddish(pixels[static_cast<std::size_t>(y * 120 + x)])) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_GT(bottom - top, 14);                  // two lines
    EXPECT_LE(std::abs((left + right) - 119), 6); // centred across
    EXPECT_LE(std::abs((top + bottom) - 59), 6);  // and down
    // Pressed, the face moves one pixel right and down, and the text is centred in it again: by the halving
    // it moves 0 or 1 pixel, never back.
    const auto pressed = PaintPixels(button, 120, 60, ODS_SELECTED);
    int pressedLeft = 120, pressedTop = 60;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            if (Reddish(pressed[static_cast<std::size_t>(y * 120 + x)])) {
                pressedLeft = std::min(pressedLeft, x);
                pressedTop = std::min(pressedTop, y);
            }
    EXPECT_GE(pressedTop - top, 0);
    EXPECT_LE(pressedTop - top, 1);
    EXPECT_GE(pressedLeft - left, 0);
    EXPECT_LE(pressedLeft - left, 1);
}

TEST_F(ButtonExTest, TheDefaultLookFollowsTheFocus) {
    TButtonEx button(*form, {10, 10, 137, 25}, L"色");
    button.SetSytle(TButtonExStyle::bsOwnerDrawWithFrame);
    ui::Button other(*form, {10, 50, 80, 25}, L"other");
    button.SetFocus();
    EXPECT_TRUE(button.DefaultLook());
    other.SetFocus();
    EXPECT_FALSE(button.DefaultLook());
    // Its style stays owner-drawn whatever the dialog keys do.
    EXPECT_EQ(GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}
