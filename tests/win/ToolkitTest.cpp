// The toolkit's forms, graphic controls, timers and tool bar with real windows.

#include "WinTestSupport.h"

#include "ui/Form.h"
#include "ui/Hints.h"
#include "ui/ImageList.h"
#include "ui/Menu.h"
#include "ui/Shape.h"
#include "ui/StdControls.h"
#include "ui/Timer.h"
#include "ui/ToolBar.h"

using namespace std::chrono_literals;

using wintest::Params;
using wintest::TestForm;

namespace {

ui::ToolBar::Params GridParams() {
    ui::ToolBar::Params p;
    p.width = 229;
    p.height = 192;
    p.indent = 1;
    p.buttonWidth = 38;
    p.buttonHeight = 38;
    return p;
}

class ToolBarTest : public wintest::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = app->CreateForm<TestForm>(Params());
        bar = std::make_unique<ui::ToolBar>(*form, GridParams());
        images.SetSize(32, 32);
        bar->SetImages(&images);
        // In two goes: buttons added later wrap on with the earlier ones.
        std::vector<ui::ToolBar::NewButton> buttons;
        for (int i = 0; i < 30; ++i)
            buttons.push_back({L"ToolButton" + std::to_wstring(i + 1), L"x", i});
        bar->AddButtons(std::span(buttons).first(7));
        bar->AddButtons(std::span(buttons).subspan(7));
        bar->SetWidth(229);
    }
    void TearDown() override {
        bar.reset();
        AppTest::TearDown();
    }
    TestForm* form = nullptr;
    ui::ImageList images;
    std::unique_ptr<ui::ToolBar> bar;
};

} // namespace

TEST_F(ToolBarTest, DesignWidthHoldsFiveRowsOfSixAtTheDesignPositions) {
    EXPECT_EQ(bar->ButtonWidth(), 38);
    EXPECT_EQ(bar->ButtonHeight(), 38);
    EXPECT_EQ(bar->RowCount(), 5);
    EXPECT_EQ(bar->Width(), 229);
    EXPECT_EQ(bar->Height(), 192);
    for (int i = 0; i < 30; ++i) {
        RECT r = bar->Button(i).ItemRect();
        EXPECT_EQ(r.left, 1 + 38 * (i % 6)) << "button " << i + 1;
        EXPECT_EQ(r.top, 2 + 38 * (i / 6)) << "button " << i + 1;
    }
}

TEST_F(ToolBarTest, WidthRewrapsToWholeButtons) {
    bar->SetWidth(200); // room for five
    EXPECT_EQ(bar->Width(), 1 + 5 * 38);
    EXPECT_EQ(bar->RowCount(), 6);
    bar->SetWidth(30); // not even one: still one per row
    EXPECT_EQ(bar->Width(), 1 + 38);
    EXPECT_EQ(bar->RowCount(), 30);
    EXPECT_EQ(bar->Height(), 2 + 30 * 38);
    bar->SetWidth(1 + 10 * 38);
    EXPECT_EQ(bar->RowCount(), 3);
}

TEST_F(ToolBarTest, CaptionsMakeButtonsTallerAndOffRestoresTheHeight) {
    bar->SetShowCaptions(true);
    int tall = bar->ButtonHeight();
    EXPECT_GT(tall, 38);
    EXPECT_EQ(bar->Height(), 2 + 5 * tall);
    bar->SetShowCaptions(false);
    bar->SetButtonHeight(38);
    EXPECT_EQ(bar->ButtonHeight(), 38);
    EXPECT_EQ(bar->Height(), 192);
}

namespace {

class FormTest : public wintest::AppTest {};

} // namespace

TEST_F(FormTest, ExceptionInAHandlerReachesTheErrorBoxAndMessagesGoOn) {
    auto* form = app->CreateForm<TestForm>(Params());
    int resized = 0;
    form->OnResize = [&] {
        ++resized;
        throw Exception(L"壊れました");
    };
    form->SetWidth(250);
    form->SetWidth(260);
    EXPECT_EQ(resized, 2);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], L"壊れました");
    EXPECT_EQ(form->Width(), 260);
}

TEST_F(FormTest, OnCreateFailureIsReportedAndTheFormStillExists) {
    auto* form = app->CreateForm<TestForm>(Params());
    form->OnCreate = [] { throw std::runtime_error("no luck"); };
    form->DoCreate();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], L"no luck");
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(FormTest, AControlThatCannotBeMadeSaysSoAndKeepsTheSystemsReason) {
    auto* form = app->CreateForm<TestForm>(Params());
    // A child of a window that is gone: Windows refuses it.
    struct Orphan : ui::Control {
        void Make(HWND parent) { CreateControl(L"STATIC", 0, 0, RECT{0, 0, 10, 10}, parent, 0); }
    } orphan;
    const HWND gone = form->Handle();
    form->Destroy();
    try {
        orphan.Make(gone);
        FAIL() << "made";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"コントロールを作成できません");
        EXPECT_EQ(e.SystemError(), static_cast<std::uint32_t>(ERROR_INVALID_WINDOW_HANDLE));
    }
}

TEST_F(FormTest, ReleaseDestroysTheFormAfterTheCurrentMessage) {
    app->CreateForm<TestForm>(Params());
    auto* second = app->CreateOwnedForm<TestForm>(Params());
    HWND hwnd = second->Handle();
    second->Release();
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(app->Forms().size(), 2u);
    app->ProcessMessages();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(app->Forms().size(), 1u);
}

TEST_F(FormTest, FirstCreatedFormIsTheMainFormAndClosingItEndsTheLoop) {
    auto* main = app->CreateForm<TestForm>(Params());
    auto* other = app->CreateForm<TestForm>(Params());
    EXPECT_EQ(app->MainForm(), main);
    other->Show();
    other->Close();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(app->Terminated());
    bool asked = false;
    main->OnCloseQuery = [&](bool& canClose) {
        asked = true;
        canClose = false;
    };
    main->Close();
    EXPECT_TRUE(asked);
    app->ProcessMessages();
    EXPECT_FALSE(app->Terminated());
    main->OnCloseQuery = nullptr;
    main->Close();
    app->ProcessMessages();
    EXPECT_TRUE(app->Terminated());
    // A session end that comes as the forms are torn down touches none of them.
    int ends = 0;
    app->OnEndSession = [&] { ++ends; };
    SendMessageW(app->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ends, 0);
}

namespace {

// Controls and a timer as members, as the program's forms hold them: constructed before the window.
class BuiltForm : public TestForm {
public:
    BuiltForm()
        : TestForm(Params()), first(*this, {8, 8, 60, 20}, L"first"), second(*this, {8, 40, 60, 20}),
          timer(*this, 3, 10, true) {
        timer.OnTimer = [this] { ++ticks; };
    }
    ui::Button first;
    ui::Edit second;
    ui::Timer timer;
    bool sawCreate = false;
    bool controlsInHook = false;
    int ticks = 0;

protected:
    void WindowCreated() override { controlsInHook = first.Handle() && second.Handle(); }
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) sawCreate = true;
        return TestForm::Dispatch(message, wParam, lParam);
    }
};

} // namespace

TEST_F(FormTest, AFormIsWholeBeforeItsWindowAndItsControlsFollowInOrder) {
    auto* form = app->CreateForm<BuiltForm>();
    // The derived form's own handler already had the window's first messages.
    EXPECT_TRUE(form->sawCreate);
    EXPECT_TRUE(form->controlsInHook);
    EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), form->first.Handle()); // made in construction order
    EXPECT_EQ(GetWindow(form->first.Handle(), GW_HWNDNEXT), form->second.Handle());
    EXPECT_EQ(ui::Window::FromHandle(form->second.Handle()), &form->second);
    EXPECT_TRUE(wintest::PumpUntil([&] { return form->ticks >= 2; }, 2s));
    // Released: the window goes before the object, and nothing leads to either any more.
    HWND hwnd = form->Handle(), child = form->first.Handle();
    form->Release();
    app->ProcessMessages();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(ui::Window::FromHandle(hwnd), nullptr);
    EXPECT_EQ(ui::Window::FromHandle(child), nullptr);
}

TEST_F(FormTest, ShowRunsOnShowOnlyWhenTheFormBecomesVisible) {
    auto* form = app->CreateForm<TestForm>(Params());
    int shown = 0;
    form->OnShow = [&] { ++shown; };
    form->Show();
    form->Show();
    EXPECT_EQ(shown, 1);
    form->Hide();
    form->ShowNoActivate();
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(form->Visible());
}

TEST_F(FormTest, NoFormHasATaskBarButton) {
    auto* form = app->CreateForm<TestForm>(Params());
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app->Handle());
    EXPECT_FALSE(IsWindowVisible(app->Handle()));
    EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(FormTest, ShowModalDisablesTheOtherWindowsUntilAResultIsSet) {
    auto* main = app->CreateForm<TestForm>(Params());
    main->Show();
    auto* dialog = app->CreateOwnedForm<TestForm>(Params(200, 100));
    ui::Timer timer(*dialog, 1, 50, true);
    bool mainDisabled = false;
    timer.OnTimer = [&] {
        mainDisabled = !IsWindowEnabled(main->Handle());
        dialog->ModalResult = IDOK;
    };
    EXPECT_EQ(dialog->ShowModal(), IDOK);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());

    // Closing a modal form ends it with the cancel result.
    timer.OnTimer = [&] { dialog->Close(); };
    EXPECT_EQ(dialog->ShowModal(), IDCANCEL);
    // A show that fails leaves the others enabled, and a form made for one show is released all the same.
    auto* failing = app->CreateOwnedForm<TestForm>(Params(200, 100));
    failing->OnShow = [] { throw Exception(L"show"); };
    EXPECT_THROW(ui::ShowModalThenRelease(*failing), Exception);
    app->ProcessMessages();
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_EQ(app->Forms().size(), 2u);
}

TEST_F(FormTest, TimersFireOnTheirFormUntilSwitchedOff) {
    auto* form = app->CreateForm<TestForm>(Params());
    ui::Timer timer(*form, 7, 20);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    // Meanwhile a timer of the same period ticks three times.
    ASSERT_TRUE(wintest::PumpTicks(3, 20ms));
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    EXPECT_TRUE(wintest::PumpUntil([&] { return ticks >= 3; }, 2s));
    timer.SetEnabled(false);
    int stopped = ticks;
    ASSERT_TRUE(wintest::PumpTicks(3, 20ms));
    EXPECT_EQ(ticks, stopped);
}

TEST_F(FormTest, KeyPreviewSeesTheKeysOfItsControlsFirst) {
    auto* form = app->CreateForm<TestForm>(Params());
    form->Show();
    ui::ToolBar bar(*form, GridParams());
    std::wstring typed;
    WORD down = 0;
    form->OnKeyPress = [&](wchar_t& key) { typed += key; };
    form->OnKeyDown = [&](WORD& key, ui::ShiftState) { down = key; };
    PostMessageW(bar.Handle(), WM_CHAR, L'a', 0);
    PostMessageW(bar.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    app->ProcessMessages();
    EXPECT_EQ(typed, L""); // not previewed
    EXPECT_EQ(down, 0);
    form->KeyPreview = true;
    PostMessageW(bar.Handle(), WM_CHAR, L'a', 0);
    PostMessageW(bar.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    app->ProcessMessages();
    EXPECT_EQ(typed, L"a");
    EXPECT_EQ(down, VK_DOWN);
}

namespace {

// A 32x32 icon whose opacity rises from left to right, so that every pixel is partly see-through.
base::UniqueHicon GradientIcon() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    base::UniqueHbitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels[y * 32 + x] = (static_cast<std::uint32_t>(x * 8 + 7) << 24) | 0x00C04020u;
    base::UniqueHbitmap mask(CreateBitmap(32, 32, 1, 1, nullptr));
    ICONINFO icon{TRUE, 0, 0, mask.get(), colour.get()};
    return base::UniqueHicon(CreateIconIndirect(&icon));
}

// A 32x32 icon of the old kind: no alpha, a mask that leaves a frame transparent.
base::UniqueHicon MaskedIcon() {
    std::vector<std::uint8_t> andBits(32 * 4, 0xFF), xorBits(32 * 4, 0x00);
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x) {
            andBits[static_cast<std::size_t>(y * 4 + x / 8)] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
            if ((x + y) % 3 == 0) xorBits[static_cast<std::size_t>(y * 4 + x / 8)] |= 0x80 >> (x % 8);
        }
    return base::UniqueHicon(
        CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, andBits.data(), xorBits.data()));
}

int LargestChannelDifference(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    int largest = a.size() == b.size() ? 0 : 256;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            largest = std::max(largest, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                                 static_cast<int>((b[i] >> shift) & 0xFF)));
    return largest;
}

} // namespace

TEST(ImageListTest, IconsAddedTogetherLookAsWhenAddedOneByOne) {
    std::vector<base::UniqueHicon> owned;
    auto extract = [&](const std::wstring& file, int index) {
        owned.emplace_back(ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index)));
    };
    extract(ui::Application::ExeName(), 0); // the mascot picture
    extract(L"C:\\windows\\notepad.exe", 0);
    for (int index : {0, 3, 4, 15, 40})
        extract(L"C:\\windows\\system32\\shell32.dll", index);
    owned.push_back(GradientIcon());
    owned.push_back(MaskedIcon());
    std::vector<HICON> icons;
    for (const auto& icon : owned) {
        ASSERT_TRUE(icon && icon.get() != reinterpret_cast<HICON>(1));
        icons.push_back(icon.get());
    }
    ui::ImageList one, together;
    one.SetSize(32, 32);
    together.SetSize(32, 32);
    for (HICON icon : icons)
        one.AddIcon(icon);
    EXPECT_EQ(together.AddIcons(icons), 0);
    EXPECT_EQ(together.AddIcons(std::span<const HICON>(icons).first(2)), static_cast<int>(icons.size()));
    ASSERT_EQ(together.Count(), static_cast<int>(icons.size()) + 2);
    for (int i = 0; i < static_cast<int>(icons.size()); ++i)
        EXPECT_LE(LargestChannelDifference(wintest::ImagePixels(together, i), wintest::ImagePixels(one, i)),
                  2)
            << "icon " << i;
    EXPECT_LE(LargestChannelDifference(wintest::ImagePixels(together, static_cast<int>(icons.size()) + 1),
                                       wintest::ImagePixels(one, 1)),
              2);
    // Nothing to add: nothing added.
    EXPECT_EQ(together.AddIcons({}), -1);
    EXPECT_EQ(together.Count(), static_cast<int>(icons.size()) + 2);
}

namespace {

WNDPROC gBelowForwarder = nullptr;
int gForwarded = 0;

// Another program's procedure put over a watched window, passing everything on.
LRESULT CALLBACK Forwarder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++gForwarded;
    return CallWindowProcW(gBelowForwarder, hwnd, message, wParam, lParam);
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[64] = {};
    SendMessageW(hwnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST(HintHostTest, AWatchedWindowOutlivesItsHostAndTheOtherWayRound) {
    HWND form =
        CreateWindowExW(0, L"STATIC", L"form", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    HWND tool = CreateWindowExW(0, L"EDIT", L"abc", WS_CHILD, 0, 0, 100, 20, form, nullptr, nullptr, nullptr);
    ASSERT_TRUE(form && tool);
    const LONG_PTR original = GetWindowLongPtrW(tool, GWLP_WNDPROC);
    const RECT rect{0, 0, 100, 20};

    auto host = std::make_unique<ui::HintHost>(form);
    host->AddTool(tool, 1, rect, L"hint");
    EXPECT_NE(GetWindowLongPtrW(tool, GWLP_WNDPROC), original);
    EXPECT_EQ(TextOf(tool), L"abc");
    host.reset();
    EXPECT_EQ(GetWindowLongPtrW(tool, GWLP_WNDPROC), original); // given back as it was

    // Another procedure over the host's: the host goes, the chain stays whole.
    host = std::make_unique<ui::HintHost>(form);
    host->AddTool(tool, 1, rect, L"hint");
    gBelowForwarder = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Forwarder)));
    host.reset();
    EXPECT_EQ(GetWindowLongPtrW(tool, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&Forwarder));
    gForwarded = 0;
    EXPECT_EQ(TextOf(tool), L"abc");
    EXPECT_EQ(gForwarded, 1);
    // Watched again by a new host, which takes over the procedure still in the chain; then destroyed
    // before the host.
    host = std::make_unique<ui::HintHost>(form);
    host->AddTool(tool, 1, rect, L"hint");
    EXPECT_TRUE(host->HasTool(tool, 1));
    EXPECT_EQ(TextOf(tool), L"abc");
    HWND second =
        CreateWindowExW(0, L"EDIT", L"def", WS_CHILD, 0, 30, 100, 20, form, nullptr, nullptr, nullptr);
    host->AddTool(second, 2, rect, L"second");
    EXPECT_TRUE(DestroyWindow(tool));
    EXPECT_TRUE(DestroyWindow(second));
    EXPECT_FALSE(host->HasTool(tool, 1));
    EXPECT_FALSE(host->HasTool(second, 2));
    host.reset();
    DestroyWindow(form);
}

namespace {

WNDPROC gFormProc = nullptr;
int gPositionChanges = 0;

LRESULT CALLBACK CountingPositionChanges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) ++gPositionChanges;
    return CallWindowProcW(gFormProc, hwnd, message, wParam, lParam);
}

} // namespace

TEST_F(FormTest, BoundsWhereTheFormAlreadyIsCostNoWindowMessages) {
    auto* form = app->CreateForm<TestForm>(Params(300, 200));
    form->Show();
    gFormProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingPositionChanges)));
    gPositionChanges = 0;
    form->SetBounds(form->Left(), form->Top(), form->Width(), form->Height());
    form->SetHeight(form->Height());
    form->SetClientWidth(form->ClientWidth());
    EXPECT_EQ(gPositionChanges, 0);
    form->SetHeight(form->Height() + 10);
    EXPECT_EQ(gPositionChanges, 1);
    EXPECT_EQ(form->Height(), 210);
    form->SetLeft(form->Left() + 5);
    EXPECT_EQ(gPositionChanges, 2);
    EXPECT_EQ(form->Left(), 55);
    SetWindowLongPtrW(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gFormProc));
}

TEST_F(FormTest, ShapesArePaintedInOrderAndHitTopmostFirst) {
    auto* form = app->CreateForm<TestForm>(Params());
    form->SetColor(clBlue);
    ui::Shape bottom(*form, ui::ShapeType::Rectangle, clRed, clRed);
    ui::Shape top(*form, ui::ShapeType::Rectangle, clLime, clLime);
    bottom.SetBounds(10, 10, 40, 40);
    top.SetBounds(30, 30, 40, 40);
    int bottomPresses = 0, topPresses = 0;
    POINT lastPoint{};
    bottom.OnMouseDown = [&](ui::MouseButton, ui::ShiftState, int x, int y) {
        ++bottomPresses;
        lastPoint = {x, y};
    };
    top.OnMouseDown = [&](ui::MouseButton, ui::ShiftState, int, int) { ++topPresses; };
    form->Show();
    UpdateWindow(form->Handle());
    HDC dc = GetDC(form->Handle());
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 40, 40), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 100, 100), RGB(0, 0, 255));
    ReleaseDC(form->Handle(), dc);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_EQ(lastPoint.x, 5); // in the shape's own coordinates
    EXPECT_EQ(lastPoint.y, 5);
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    EXPECT_EQ(bottomPresses, 1);
    EXPECT_EQ(topPresses, 1);
    top.Hide();
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(35, 35));
    EXPECT_EQ(bottomPresses, 2);
}

namespace {

std::wstring MenuText(HMENU menu, UINT command) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
    return text;
}

// Keys that the menu's own loop will read once it runs.
void QueueKeys(HWND hwnd, std::initializer_list<WORD> keys) {
    for (WORD key : keys)
        PostMessageW(hwnd, WM_KEYDOWN, key, 0);
}

} // namespace

TEST(MenuTest, ItemsKeepTheirCaptionAndStateInTheMenu) {
    ui::PopupMenu menu;
    ui::MenuItem& first = menu.Add(L"First", L"ｵﾌﾟｼｮﾝ設定");
    ui::MenuItem& line = menu.AddSeparator(L"N1");
    ui::MenuItem& second = menu.Add(L"Second", L"ぱむの終了");
    ASSERT_EQ(GetMenuItemCount(menu.Handle()), 3);
    EXPECT_EQ(menu.FindItem(L"Second"), &second);
    EXPECT_EQ(menu.FindItem(L"Third"), nullptr);
    EXPECT_TRUE(GetMenuState(menu.Handle(), line.Command(), MF_BYCOMMAND) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(menu.Handle(), first.Command()), L"ｵﾌﾟｼｮﾝ設定");

    first.SetCaption(L"詳細設定の中止");
    EXPECT_EQ(first.Caption(), L"詳細設定の中止");
    EXPECT_EQ(MenuText(menu.Handle(), first.Command()), L"詳細設定の中止");

    int clicks = 0;
    second.OnClick = [&] { ++clicks; };
    second.SetEnabled(false);
    EXPECT_TRUE(GetMenuState(menu.Handle(), second.Command(), MF_BYCOMMAND) & MF_GRAYED);
    second.Click();
    EXPECT_EQ(clicks, 0);
    second.SetEnabled(true);
    EXPECT_FALSE(GetMenuState(menu.Handle(), second.Command(), MF_BYCOMMAND) & MF_GRAYED);
    second.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, RightClickOpensThePopupMenuAndRunsTheChosenItem) {
    TestForm* form = app->CreateForm<TestForm>(Params());
    form->Show();
    ui::PopupMenu menu;
    ui::MenuItem& first = menu.Add(L"First", L"一");
    menu.AddSeparator(L"N1");
    ui::MenuItem& second = menu.Add(L"Second", L"二");
    std::vector<std::wstring> chosen;
    first.OnClick = [&] { chosen.push_back(L"First"); };
    second.OnClick = [&] { chosen.push_back(L"Second"); };
    form->PopupMenu = &menu;

    // Down highlights the first item, the next Down skips the separator.
    QueueKeys(form->Handle(), {VK_DOWN, VK_DOWN, VK_RETURN});
    SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(50, 50));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], L"Second");

    QueueKeys(form->Handle(), {VK_DOWN, VK_ESCAPE});
    SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(50, 50));
    EXPECT_EQ(chosen.size(), 1u);
}

TEST(VersionResource, FileAndProductVersionWithTheJapaneseTranslation) {
    std::wstring exe = ui::Application::ExeName();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 0x03A4);
    auto text = [&](const wchar_t* key) {
        wchar_t* value = nullptr;
        UINT n = 0;
        std::wstring path = std::wstring(L"\\StringFileInfo\\041103A4\\") + key;
        if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &n))
            return std::wstring();
        return std::wstring(value);
    };
    EXPECT_EQ(text(L"FileVersion"), L"2.0.4.0");
    EXPECT_EQ(text(L"ProductVersion"), L"2.04");
    EXPECT_EQ(text(L"ProductName"), L"ぱむぱむランチ");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00040000u);
}

TEST_F(FormTest, ReleaseWaitsForTheFormsRunningHandler) {
    auto* form = app->CreateForm<TestForm>(Params());
    HWND hwnd = form->Handle();
    bool ran = false, existedAfterNestedLoop = false;
    // A handler of the form's own message (WM_SIZE) that runs a nested loop after asking for release.
    form->OnResize = [&] {
        if (ran) return;
        ran = true;
        form->Release();
        app->ProcessMessages(); // as a file dialog's loop would
        existedAfterNestedLoop = IsWindow(hwnd) != FALSE;
    };
    form->SetWidth(form->Width() + 10);
    ASSERT_TRUE(ran);
    EXPECT_TRUE(existedAfterNestedLoop);
    app->ProcessMessages();
    EXPECT_FALSE(IsWindow(hwnd));
}
