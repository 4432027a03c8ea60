// The button settings dialog: placement, filling, the derivations while typing, the icon count and
// preview, browsing, clear, OK and Cancel.

#include "Programs.h"
#include "WinTestSupport.h"

#include "base/PathParts.h"
#include "dialogs/BtnSet.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "components/FmxUtils.h"

using wintest::AllGrey;
using wintest::PanelImage;
using wintest::SettingsPath;

namespace {

class BtnSetTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        self = ui::Application::ExeName(); // three icons
        oneIcon = testfiles::ExeFolder() + L"\\one_icon.ico";
    }
    void TearDown() override {
        ui::OpenDialog::Override = nullptr;
        wintest::AppTest::TearDown();
    }
    // Starts the program and clicks unassigned button N, which opens its settings.
    TBtnSetF* Open(int button, const std::wstring& buttons = L"", const std::wstring& eyeKeys = L"") {
        mascot = StartProgram(L"[eye]\r\nColor=clAqua\r\n" + eyeKeys +
                              L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\n" + buttons);
        mascot->Timer1.SetEnabled(false);
        BtnF1->Buttons[button]->Click();
        return BtnSetF;
    }
    // Characters typed into an edit, each through the message loop as a key press would be.
    void Type(ui::StdControl& control, const std::wstring& text) {
        for (wchar_t c : text) {
            PostMessageW(control.Handle(), WM_CHAR, c, 0);
            app->ProcessMessages();
        }
    }
    // Once the files the fields name have answered.
    void Settle() { Settle(BtnSetF); }
    void Settle(const TBtnSetF* dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(wintest::PumpUntil([&] { return !dialog->ReadsPending(); }, std::chrono::seconds(10)));
    }
    std::string Saved(int button, const char* key) const {
        return testfiles::ValueOf(testfiles::ParseIni(testfiles::ReadFileBytes(SettingsPath())),
                                  "btn" + std::to_string(button), key);
    }
    std::wstring self, oneIcon;
    TpamuF* mascot = nullptr;
};

} // namespace

TEST_F(BtnSetTest, OpensBelowThePanelWithTheButtonsRecord) {
    mascot = StartProgram(L"[btnform]\r\nleft=100\r\ntop=100\r\nwidth=238\r\n[btn12]\r\npg=" + self +
                          L"\r\nic=" + self + L"\r\nicidx=2\r\ndr=C:\\work\\\r\nlb=ヒント\r\nop=-v\r\n");
    mascot->Timer1.SetEnabled(false);
    // An assigned button opens its settings in the set-details mode entered from the menu.
    mascot->PM_BtnSet.Click();
    BtnF1->Buttons[12]->Click();
    TBtnSetF* dialog = BtnSetF;
    Settle();
    EXPECT_EQ(dialog->Caption(), L"ボタン12の詳細設定");
    RECT client{};
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, 296);
    EXPECT_EQ(client.bottom, 165);
    EXPECT_EQ(dialog->Left(), BtnF1->Left());
    EXPECT_EQ(dialog->Top(), BtnF1->Top() + BtnF1->Height());

    EXPECT_EQ(dialog->Edit1.Text(), self);
    EXPECT_EQ(dialog->ComboBox1.Text(), self);
    EXPECT_EQ(dialog->SpinEdit1.Value(), 3);
    EXPECT_TRUE(dialog->SpinEdit1.Enabled());
    EXPECT_EQ(dialog->SpinEdit1.MinValue(), 1);
    EXPECT_EQ(dialog->SpinEdit1.MaxValue(), 3);
    EXPECT_TRUE(GetWindowLongW(dialog->SpinEdit1.Handle(), GWL_STYLE) & ES_READONLY); // the arrows only
    EXPECT_EQ(dialog->Edit3.Text(), L"C:\\work\\");
    EXPECT_EQ(dialog->Edit4.Text(), L"ヒント");
    EXPECT_EQ(dialog->Edit5.Text(), L"-v");
    EXPECT_EQ(dialog->Edit6.Text(), L"3個のアイコンがあります");
    EXPECT_NE(dialog->Image1.Icon(), nullptr);
    // The icon files offered in the list.
    ASSERT_EQ(dialog->ComboBox1.ItemCount(), 2);
    EXPECT_EQ(dialog->ComboBox1.Item(0), SystemDirectory() + L"\\Shell32.dll");
    EXPECT_EQ(dialog->ComboBox1.Item(1), SystemDirectory() + L"\\Pifmgr.dll");
}

TEST_F(BtnSetTest, PlacedAgainstTheWorkAreasEdges) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    TBtnSetF* dialog = Open(2);
    ASSERT_NE(dialog, nullptr);
    const int w = dialog->Width(), h = dialog->Height();
    // Off the right edge: aligned with the panel's right edge. Off the bottom: above the panel.
    dialog->Hide();
    BtnF1->SetBounds(work.right - 100, work.bottom - 150, BtnF1->Width(), BtnF1->Height());
    dialog->Show();
    EXPECT_EQ(dialog->Left() + w, BtnF1->Left() + BtnF1->Width());
    EXPECT_EQ(dialog->Top(), BtnF1->Top() - h);
}

TEST_F(BtnSetTest, NeverAboveTheTopOfTheScreen) {
    // One button a row and no row limit: a panel taller than the screen, with no room below or above.
    TBtnSetF* dialog = Open(2, L"", L"LineMax=99\r\n");
    ASSERT_NE(dialog, nullptr);
    dialog->Hide();
    BtnF1->SetWidth(60);
    BtnF1->Hide();
    BtnF1->Show();
    BtnF1->SetTop(20);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_GT(BtnF1->Top() + BtnF1->Height() + dialog->Height(), work.bottom);
    dialog->Show();
    EXPECT_EQ(dialog->Top(), 0);
    EXPECT_EQ(dialog->Left(), BtnF1->Left());
}

TEST_F(BtnSetTest, TypingAProgramDerivesIconFileFolderAndHintOnce) {
    TBtnSetF* dialog = Open(3);
    Settle();
    EXPECT_EQ(dialog->Edit6.Text(), L"アイコンがありません");
    EXPECT_FALSE(dialog->SpinEdit1.Enabled());
    Type(dialog->Edit1, self);
    Settle();
    EXPECT_EQ(dialog->Edit1.Text(), self);
    // The hint was filled from the first character and kept; the icon file and folder follow the
    // whole path, which is a program with icons.
    EXPECT_EQ(dialog->Edit4.Text(), self.substr(0, 1));
    EXPECT_EQ(dialog->ComboBox1.Text(), self);
    EXPECT_EQ(dialog->Edit3.Text(), self.substr(0, self.find_last_of(L'\\') + 1));
    EXPECT_EQ(dialog->Edit6.Text(), L"3個のアイコンがあります");
    EXPECT_TRUE(dialog->SpinEdit1.Enabled());
    EXPECT_EQ(dialog->SpinEdit1.Value(), 1);
}

TEST_F(BtnSetTest, DocumentTakesItsProgramsIconAndItsOwnFolder) {
    const std::wstring folder = wintest::TempPath(L"pmrun_btnset");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring text = folder + L"\\memo.txt";
    testfiles::WriteFileBytes(text, "memo");
    TBtnSetF* dialog = Open(4);
    dialog->Edit3.SetText(L"C:\\typed\\before\\");
    dialog->Edit4.SetText(L"kept");
    dialog->Edit1.SetText(text);
    Settle();
    EXPECT_EQ(dialog->Edit3.Text(), folder + L"\\"); // replaces the folder typed before
    EXPECT_EQ(dialog->Edit4.Text(), L"kept");
    const std::wstring icon = dialog->ComboBox1.Text();
    ASSERT_FALSE(icon.empty());
    EXPECT_EQ(CompareStringOrdinal(icon.substr(icon.size() - 11).c_str(), -1, L"notepad.exe", -1, TRUE),
              CSTR_EQUAL);

    // The file answers after the path has changed: its answer is dropped, and the defaults follow the path.
    dialog->Edit1.SetText(L"");
    dialog->Edit1.SetText(text);
    dialog->Edit1.SetText(self);
    Settle();
    EXPECT_EQ(dialog->ComboBox1.Text(), self);
    EXPECT_EQ(dialog->Edit3.Text(), ExtractFilePath(self));
    // Fields the user writes in before the answer keep what the user wrote.
    dialog->Edit1.SetText(text);
    dialog->ComboBox1.SetText(oneIcon);
    dialog->ComboBox1Change();
    dialog->Edit3.SetText(L"C:\\mine\\");
    Settle();
    EXPECT_EQ(dialog->ComboBox1.Text(), oneIcon);
    EXPECT_EQ(dialog->Edit3.Text(), L"C:\\mine\\");
    dialog->ComboBox1.SetText(L"");
    dialog->Edit3.SetText(L"");
    dialog->Edit1.SetText(self);
    // OK before the answer stores what the fields show: the path's defaults, not what the file would say.
    dialog->Edit1.SetText(text);
    dialog->Button4.Click();
    EXPECT_EQ(BtnF1->Records[4].IconFile, text);
    testfiles::DeleteFolder(folder);
}

TEST_F(BtnSetTest, IconCountsAndTheNumberRule) {
    TBtnSetF* dialog = Open(5, L"[btn6]\r\npg=x\r\nic=" + self + L"\r\nicidx=7\r\n");
    // One icon: the number shows 1 and cannot change.
    dialog->ComboBox1.SetText(oneIcon);
    dialog->ComboBox1Change();
    Settle();
    EXPECT_EQ(dialog->Edit6.Text(), L"1個のアイコンがあります");
    EXPECT_FALSE(dialog->SpinEdit1.Enabled());
    EXPECT_EQ(dialog->SpinEdit1.Value(), 1);
    EXPECT_NE(dialog->Image1.Icon(), nullptr);
    // The first ready-made file of the list: numbers 1 up to its count.
    dialog->ComboBox1.ChooseItem(0);
    Settle();
    const int shell32 = IconCount(SystemDirectory() + L"\\Shell32.dll");
    ASSERT_GT(shell32, 1);
    EXPECT_EQ(dialog->ComboBox1.Text(), SystemDirectory() + L"\\Shell32.dll");
    EXPECT_TRUE(dialog->SpinEdit1.Enabled());
    EXPECT_EQ(dialog->SpinEdit1.MaxValue(), shell32);
    EXPECT_EQ(dialog->SpinEdit1.Value(), 1); // the record's index is 0
    dialog->SpinEdit1.SetValue(shell32 + 5);
    EXPECT_EQ(dialog->SpinEdit1.Value(), shell32); // kept in the range
    // A number turned before the file has answered again is the user's, and so is its preview.
    dialog->ComboBox1Change();
    dialog->SpinEdit1.SetValue(3);
    Settle();
    EXPECT_EQ(dialog->SpinEdit1.Value(), 3);
    EXPECT_NE(dialog->Image1.Icon(), nullptr);
    // A missing file: no icons, number 0, empty preview.
    dialog->ComboBox1.SetText(L"C:\\no\\such.dll");
    dialog->ComboBox1Change();
    Settle();
    EXPECT_EQ(dialog->Edit6.Text(), L"アイコンがありません");
    EXPECT_EQ(dialog->SpinEdit1.Value(), 0);
    EXPECT_EQ(dialog->Image1.Icon(), nullptr);

    // A stored index beyond the file's icons shows the last one.
    mascot->PM_BtnSet.Click(); // ends mode 1
    mascot->PM_BtnSet.Click(); // and enters it again from the menu
    BtnF1->Buttons[6]->Click();
    Settle();
    ASSERT_NE(BtnSetF, nullptr);
    EXPECT_EQ(BtnSetF->SpinEdit1.Value(), 3);
}

TEST_F(BtnSetTest, BrowsingUsesTheFiltersAndTitlesAndACancelKeepsTheField) {
    TBtnSetF* dialog = Open(7);
    std::vector<std::pair<DWORD, std::wstring>> asked;
    std::wstring answer = self;
    const std::wstring current = base::CurrentDirectory();
    ui::OpenDialog::Override = [&](OPENFILENAMEW& ofn) {
        asked.emplace_back(ofn.nFilterIndex, ofn.lpstrTitle ? ofn.lpstrTitle : L"");
        SetCurrentDirectoryW(SystemDirectory().c_str()); // as the dialog does where the user browses
        EXPECT_TRUE(ofn.Flags & OFN_HIDEREADONLY);
        EXPECT_TRUE(ofn.Flags & OFN_FILEMUSTEXIST);
        if (answer.empty()) return false;
        wcscpy_s(ofn.lpstrFile, ofn.nMaxFile, answer.c_str());
        return true;
    };
    dialog->Button1.Click();
    EXPECT_EQ(dialog->Edit1.Text(), self);
    EXPECT_EQ(dialog->ComboBox1.Text(), self);
    answer = oneIcon;
    dialog->Button2.Click();
    Settle();
    EXPECT_EQ(dialog->ComboBox1.Text(), oneIcon);
    EXPECT_EQ(dialog->Edit6.Text(), L"1個のアイコンがあります");
    answer.clear();
    dialog->Button1.Click();
    dialog->Button2.Click();
    EXPECT_EQ(dialog->Edit1.Text(), self);
    EXPECT_EQ(dialog->ComboBox1.Text(), oneIcon);
    EXPECT_EQ(base::CurrentDirectory(), current); // put back, so that no browsed folder is held busy
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0], std::make_pair(DWORD{1}, std::wstring(L"実行するﾌﾟﾛｸﾞﾗﾑや文書の選択")));
    EXPECT_EQ(asked[1], std::make_pair(DWORD{2}, std::wstring(L"ｱｲｺﾝﾌｧｲﾙの選択")));
    // The filter: three name and pattern pairs.
    std::wstring filters;
    for (const wchar_t* part :
         {L"ﾌﾟﾛｸﾞﾗﾑ　ﾌｧｲﾙ", L"*.exe", L"ｱｲｺﾝ　ﾌｧｲﾙ", L"*.Ico;*.dll;*.exe", L"すべてのﾌｧｲﾙ(*.*)", L"*.*"}) {
        filters += part;
        filters += L'\0';
    }
    filters += L'\0';
    EXPECT_EQ(ui::FilterList(dialog->OpenDialog1.Filter), filters);
}

TEST_F(BtnSetTest, ClearThenOkStoresAnEmptyRecord) {
    mascot =
        StartProgram(L"[btn8]\r\npg=" + self + L"\r\nic=" + self + L"\r\nicidx=0\r\nlb=old\r\nop=-x\r\n");
    mascot->Timer1.SetEnabled(false);
    mascot->PM_BtnSet.Click();
    BtnF1->Buttons[8]->Click();
    TBtnSetF* dialog = BtnSetF;
    ASSERT_NE(dialog, nullptr);
    ASSERT_FALSE(AllGrey(PanelImage(*BtnF1, 7)));
    dialog->Button3.Click();
    EXPECT_EQ(dialog->Edit1.Text(), L"");
    EXPECT_EQ(dialog->ComboBox1.Text(), L"");
    EXPECT_EQ(dialog->Image1.Icon(), nullptr);
    dialog->Button4.Click();
    const ButtonRecord& r = BtnF1->Records[8];
    EXPECT_EQ(r.Program, L"");
    EXPECT_EQ(r.IconFile, L"");
    EXPECT_EQ(r.Hint, L"");
    EXPECT_EQ(r.Options, L"");
    EXPECT_EQ(BtnF1->Buttons[8]->Hint(), L"");
    EXPECT_TRUE(AllGrey(PanelImage(*BtnF1, 7)));
    EXPECT_EQ(Saved(8, "pg"), "");
    EXPECT_EQ(Saved(8, "lb"), "");
    // OK ends the mode.
    EXPECT_EQ(BtnSetF, nullptr);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_EQ(mascot->PM_BtnSet.Caption(), L"ﾎﾞﾀﾝ詳細設定");
}

TEST_F(BtnSetTest, OkStoresTheFieldsAndShowsThePanel) {
    TBtnSetF* dialog = Open(9);
    dialog->Edit1.SetText(self);
    dialog->Edit5.SetText(L"--opt");
    dialog->Edit4.SetText(L""); // filled by the derivation; cleared on purpose
    dialog->Edit4.SetText(L"ヒント");
    dialog->SpinEdit1.SetValue(3);
    BtnF1->Hide();
    dialog->Button4.Click();
    const ButtonRecord& r = BtnF1->Records[9];
    EXPECT_EQ(r.Program, self);
    EXPECT_EQ(r.IconFile, self);
    EXPECT_EQ(r.IconIndex, 2);
    EXPECT_EQ(r.Options, L"--opt");
    EXPECT_EQ(r.Hint, L"ヒント");
    EXPECT_EQ(BtnF1->Buttons[9]->Hint(), L"ヒント");
    EXPECT_EQ(Saved(9, "icidx"), "2");
    EXPECT_EQ(Saved(9, "op"), "--opt");
    EXPECT_TRUE(BtnF1->Visible());
    EXPECT_EQ(mascot->ui::Form::Color(), clAqua);
    EXPECT_EQ(BtnF1->Caption(), DatedCaption());
    for (ui::MenuItem* item : {&mascot->PM_Option, &mascot->PM_BtnDel, &mascot->PM_BtnChange})
        EXPECT_TRUE(item->Enabled());
    app->ProcessMessages(); // the released dialog goes
    EXPECT_EQ(FindWindowW(L"TBtnSetF", nullptr), nullptr);
}

TEST_F(BtnSetTest, CancelChangesNoRecordButEndsTheMode) {
    mascot = StartProgram(L"[eye]\r\nColor=clAqua\r\n[btn1]\r\npg=" + self + L"\r\nic=" + self +
                          L"\r\nicidx=0\r\nlb=one\r\n");
    mascot->Timer1.SetEnabled(false);
    const std::string before = testfiles::ReadFileBytes(SettingsPath());
    const auto picture = PanelImage(*BtnF1, 0);
    BtnF1->Buttons[2]->Click(); // an unassigned button: mode 1 from the panel
    ASSERT_NE(BtnSetF, nullptr);
    BtnF1->Buttons[1]->Click(); // retarget to button 1
    TBtnSetF* dialog = BtnSetF;
    EXPECT_EQ(dialog->Caption(), L"ボタン1の設定");
    EXPECT_EQ(dialog->Edit1.Text(), self);
    EXPECT_EQ(dialog->Edit4.Text(), L"one");
    dialog->Edit1.SetText(L"C:\\other.exe");
    dialog->Edit4.SetText(L"changed");
    dialog->Button5.Click();
    EXPECT_EQ(BtnF1->Records[1].Program, self);
    EXPECT_EQ(BtnF1->Buttons[1]->Hint(), L"one");
    EXPECT_EQ(PanelImage(*BtnF1, 0), picture);
    EXPECT_EQ(testfiles::ReadFileBytes(SettingsPath()), before);
    EXPECT_EQ(BtnSetF, nullptr);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_EQ(mascot->PM_BtnSet.Caption(), L"ﾎﾞﾀﾝ詳細設定");
    EXPECT_TRUE(mascot->PM_BtnDel.Enabled());
    EXPECT_TRUE(mascot->PM_BtnChange.Enabled());
    EXPECT_EQ(mascot->ui::Form::Color(), clAqua);
    EXPECT_EQ(BtnF1->Caption(), DatedCaption());
}

TEST_F(BtnSetTest, DialogEndedWhileItsFileDialogIsOpenGoesOnlyAfterwards) {
    TBtnSetF* dialog = Open(7);
    ASSERT_NE(dialog, nullptr);
    bool aliveInTheLoop = false;
    ui::OpenDialog::Override = [&](OPENFILENAMEW& ofn) {
        // Meanwhile the user ends the mode from the mascot's menu, and the file dialog's loop runs on.
        mascot->PM_BtnSet.Click();
        app->ProcessMessages();
        aliveInTheLoop = FindWindowW(L"TBtnSetF", nullptr) != nullptr;
        wcscpy_s(ofn.lpstrFile, ofn.nMaxFile, self.c_str());
        return true;
    };
    // The click arrives as the button's notification, as it does from the mouse.
    SendMessageW(dialog->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog->Button1.Handle()));
    EXPECT_TRUE(aliveInTheLoop);
    EXPECT_EQ(BtnSetF, nullptr);
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    app->ProcessMessages();
    EXPECT_EQ(FindWindowW(L"TBtnSetF", nullptr), nullptr);
    EXPECT_TRUE(errors.empty());
}

TEST_F(BtnSetTest, TurningTheIconNumberChangesThePreview) {
    TBtnSetF* dialog = Open(10);
    dialog->ComboBox1.SetText(self);
    dialog->ComboBox1Change();
    Settle();
    ASSERT_EQ(dialog->SpinEdit1.MaxValue(), 3);
    auto preview = [&] {
        std::vector<COLORREF> pixels;
        HDC dc = GetDC(dialog->Image1.Handle());
        UpdateWindow(dialog->Image1.Handle());
        for (int y = 0; y < 32; y += 2)
            for (int x = 0; x < 32; x += 2)
                pixels.push_back(GetPixel(dc, x, y));
        ReleaseDC(dialog->Image1.Handle(), dc);
        return pixels;
    };
    dialog->Show();
    dialog->SpinEdit1.SetValue(1);
    Settle();
    const auto first = preview();
    dialog->SpinEdit1.SetValue(2); // the wholly transparent icon: only the background is left
    Settle();
    const auto second = preview();
    EXPECT_NE(first, second);
    for (COLORREF c : second)
        EXPECT_EQ(c, GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(BtnSetTest, OkWhoseSaveFailsKeepsTheDialogAndTheMode) {
    TBtnSetF* dialog = Open(11);
    dialog->Edit1.SetText(self);
    DeleteFileW(SettingsPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(SettingsPath().c_str(), nullptr));
    SendMessageW(dialog->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog->Button4.Handle()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], SettingsPath() + L" に書き込めません");
    EXPECT_EQ(BtnSetF, dialog); // still open: Cancel or another OK is up to the user
    EXPECT_EQ(mascot->EditMode(), EditState::SetDetails);
    EXPECT_EQ(BtnF1->Records[11].Program, self);
}
