// The toolkit's forms, graphic controls, timers and tool bar with real windows.

#include "WinTestSupport.h"

#include "ui/Form.h"
#include "ui/ImageList.h"
#include "ui/Menu.h"
#include "ui/Shape.h"
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
        for (int i = 0; i < 30; ++i)
            bar->AddButton(L"ToolButton" + std::to_wstring(i + 1), L"x", i);
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
}

TEST_F(FormTest, TimersFireOnTheirFormUntilSwitchedOff) {
    auto* form = app->CreateForm<TestForm>(Params());
    ui::Timer timer(*form, 7, 20);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    wintest::Pump(100ms);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    EXPECT_TRUE(wintest::PumpUntil([&] { return ticks >= 3; }, 2s));
    timer.SetEnabled(false);
    int stopped = ticks;
    wintest::Pump(100ms);
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
