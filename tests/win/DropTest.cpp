// Registering by drop: real HDROPs sent to the mascot, and what lands in the panel and the settings file.

#include "AllocationCount.h"
#include "Drops.h"
#include "Programs.h"
#include "WinTestSupport.h"

#include "base/ComPtr.h"
#include "base/PathParts.h"
#include "base/WinUtil.h"
#include "dialogs/BtnSet.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "components/FmxUtils.h"
#include "ui/DropTarget.h"

#include <shlobj.h>

#include <atomic>
#include <memory>
#include <thread>

using testfiles::MakeDrop;
using wintest::AllGrey;
using wintest::PanelImage;
using wintest::SettingsPath;

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

class DropTest : public wintest::AppTest {
protected:
    void SetUp() override {
        wintest::AppTest::SetUp();
        // Wine's token is elevated and it has no shell window: the tests say which side of the shell we are.
        TBtnF1::RunsAboveTheShell = [this] { return aboveTheShell; };
        folder = wintest::TempPath(L"pmrun_drop");
        testfiles::DeleteFolder(folder);
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override {
        wintest::AppTest::TearDown();
        TBtnF1::RunsAboveTheShell = base::RunsAboveShellIntegrity;
        testfiles::DeleteFolder(folder);
    }
    bool aboveTheShell = false;
    TBtnF1* Start(const std::wstring& ini = L"") {
        mascot = StartProgram(ini);
        mascot->Timer1.SetEnabled(false); // the pupils stay where the drop put them
        return BtnF1;
    }
    // Dropped, and read: the drop face is gone again.
    void Drop(const std::vector<std::wstring>& paths) {
        SendMessageW(mascot->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
        EXPECT_TRUE(wintest::PumpUntil([&] { return !mascot->Shape5.Visible(); }, std::chrono::seconds(10)));
    }
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes = "x") const {
        const std::wstring path = folder + L"\\" + name;
        testfiles::WriteFileBytes(path, bytes);
        return path;
    }
    std::string Saved(int button, const char* key) const {
        return testfiles::ValueOf(testfiles::ParseIni(testfiles::ReadFileBytes(SettingsPath())),
                                  "btn" + std::to_string(button), key);
    }
    void ExpectFaceRestored() const {
        EXPECT_FALSE(mascot->Shape5.Visible());
        EXPECT_FALSE(mascot->Shape6.Visible());
    }
    TpamuF* mascot = nullptr;
    std::wstring folder;
};

} // namespace

TEST_F(DropTest, ProgramLandsOnTheFirstButtonWithItsFolderAndName) {
    const std::wstring program = folder + L"\\Editor.exe";
    ASSERT_TRUE(CopyFileW(ui::Application::ExeName().c_str(), program.c_str(), FALSE)); // it has icons
    TBtnF1* panel = Start();
    ASSERT_TRUE(AllGrey(PanelImage(*panel, 0)));
    Drop({program});

    const ButtonRecord& r = panel->Records[1];
    EXPECT_EQ(r.Program, program);
    EXPECT_EQ(r.IconFile, program);
    EXPECT_EQ(r.IconIndex, 0);
    EXPECT_EQ(r.WorkFolder, folder + L"\\");
    EXPECT_EQ(r.Options, L"");
    EXPECT_EQ(r.Hint, L"Editor");
    EXPECT_EQ(panel->Buttons[1]->Hint(), L"Editor");
    EXPECT_FALSE(AllGrey(PanelImage(*panel, 0)));
    EXPECT_EQ(Saved(1, "pg"), testfiles::ToAnsi(program));
    EXPECT_EQ(Saved(1, "dr"), testfiles::ToAnsi(folder + L"\\"));
    EXPECT_EQ(Saved(1, "lb"), "Editor");
    EXPECT_EQ(Saved(1, "icidx"), "0");

    // The pupils look up; the red face is gone again.
    EXPECT_EQ(mascot->Shape3.Top(), 3);
    EXPECT_EQ(mascot->Shape4.Top(), 3);
    ExpectFaceRestored();
    // A settings dialog waits, hidden, for the button.
    ASSERT_NE(BtnSetF, nullptr);
    EXPECT_FALSE(BtnSetF->Visible());
    EXPECT_EQ(BtnSetF->ButtonNo, 1);
    EXPECT_EQ(BtnSetF->Caption(), L"ボタン1の設定");
    EXPECT_EQ(mascot->EditMode(), EditState::None);
    EXPECT_TRUE(errors.empty());
}

TEST_F(DropTest, DocumentsTakeTheIconOfTheirProgramOrOfShell32) {
    const std::wstring text = MakeFile(L"日記ë한.txt", "hello");
    const std::wstring unknown = MakeFile(L"data.pmrunxyz");
    TBtnF1* panel = Start();
    Drop({text});
    EXPECT_EQ(panel->Records[1].Program, text);
    EXPECT_EQ(Lower(ExtractFileName(panel->Records[1].IconFile)), L"notepad.exe");
    EXPECT_EQ(panel->Records[1].Hint, L"日記ë한");
    EXPECT_EQ(panel->Records[1].WorkFolder, folder + L"\\");
    Launcher restarted(SettingsPath()); // a name outside the code page comes back whole
    restarted.ReadButtons();
    EXPECT_EQ(restarted.Button(1), panel->Records[1]);

    Drop({unknown});
    EXPECT_EQ(panel->Records[2].Program, unknown);
    EXPECT_EQ(panel->Records[2].IconFile, SystemDirectory() + L"\\Shell32.dll");
    EXPECT_EQ(panel->Records[2].Hint, L"data");
    EXPECT_TRUE(errors.empty());
}

TEST_F(DropTest, FolderBecomesAnExplorerWindowOnIt) {
    const std::wstring data = folder + L"\\Data";
    CreateDirectoryW(data.c_str(), nullptr);
    TBtnF1* panel = Start();
    Drop({data});
    const ButtonRecord& r = panel->Records[1];
    EXPECT_EQ(r.Program, WindowsDirectory() + L"\\Explorer.exe");
    EXPECT_EQ(r.Options, L"/c /root," + data); // not Windows XP
    EXPECT_EQ(r.WorkFolder, L"");
    EXPECT_EQ(r.Hint, data);
    EXPECT_EQ(panel->Buttons[1]->Hint(), data);
    EXPECT_EQ(r.IconFile, SystemDirectory() + L"\\Shell32.dll");
    EXPECT_EQ(r.IconIndex, 3);
    EXPECT_EQ(Saved(1, "pg"), testfiles::ToAnsi(WindowsDirectory() + L"\\Explorer.exe"));
    EXPECT_EQ(Saved(1, "op"), testfiles::ToAnsi(L"/c /root," + data));
    EXPECT_EQ(Saved(1, "icidx"), "3");
    EXPECT_EQ(Saved(1, "dr"), "");
    ExpectFaceRestored();
}

TEST_F(DropTest, ShortcutRegistersItsTargetInShortForm) {
    const std::wstring longFolder = folder + L"\\Program Files Long";
    CreateDirectoryW(longFolder.c_str(), nullptr);
    const std::wstring target = longFolder + L"\\A Long Program Name.exe";
    ASSERT_TRUE(CopyFileW(ui::Application::ExeName().c_str(), target.c_str(), FALSE));
    const std::wstring link = folder + L"\\Editor.lnk";
    {
        base::ComPtr<IShellLinkW> shellLink;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IShellLinkW, shellLink.put()));
        shellLink->SetPath(target.c_str());
        shellLink->SetArguments(L"--ignored");
        base::ComPtr<IPersistFile> file;
        ASSERT_HRESULT_SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.put()));
        ASSERT_HRESULT_SUCCEEDED(file->Save(link.c_str(), TRUE));
    }
    TBtnF1* panel = Start();
    Drop({link});
    const ButtonRecord& r = panel->Records[1];
    ASSERT_FALSE(r.Program.empty());
    // The target in its 8.3 form: the same file, no part longer than eight plus three characters.
    wchar_t fullBack[MAX_PATH * 2];
    ASSERT_GT(GetLongPathNameW(r.Program.c_str(), fullBack, MAX_PATH * 2), 0u);
    EXPECT_EQ(Lower(fullBack), Lower(target));
    std::size_t start = 3; // after "C:\"
    while (start < r.Program.size()) {
        std::size_t end = r.Program.find(L'\\', start);
        const std::wstring part =
            r.Program.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        EXPECT_LE(FileNameWithoutExt(part).size(), 8u) << testfiles::ToAnsi(part);
        EXPECT_EQ(part.find(L' '), std::wstring::npos) << testfiles::ToAnsi(part);
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    EXPECT_EQ(r.Hint, FileNameWithoutExt(r.Program));
    EXPECT_EQ(r.IconFile, r.Program);
    EXPECT_EQ(r.Options, L""); // the shortcut's arguments are not used
    EXPECT_TRUE(errors.empty());
}

TEST_F(DropTest, UnreadableShortcutRegistersNothingAndRestoresTheFace) {
    const std::wstring broken = MakeFile(L"broken.lnk", "this is not a shortcut");
    EXPECT_TRUE(FAILED(static_cast<HRESULT>(ReadDropped(broken).systemError))); // the link object's answer
    TBtnF1* panel = Start();
    Drop({broken});
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(panel->Records[1].Program.empty());
    EXPECT_TRUE(panel->Records[1].IconFile.empty());
    EXPECT_EQ(Saved(1, "pg"), "<missing>");
    ExpectFaceRestored();
    // The next drop still works and goes to the same button.
    const std::wstring program = folder + L"\\Next.exe";
    CopyFileW(ui::Application::ExeName().c_str(), program.c_str(), FALSE);
    Drop({program});
    EXPECT_EQ(panel->Records[1].Program, program);
}

TEST_F(DropTest, OnlyTheFirstItemOnTheLowestFreeButton) {
    const std::wstring a = MakeFile(L"a.txt"), b = MakeFile(L"b.txt"), c = MakeFile(L"c.txt");
    TBtnF1* panel = Start(L"[btn1]\r\npg=C:\\one.exe\r\n[btn3]\r\npg=C:\\three.exe\r\n");
    Drop({a, b, c});
    EXPECT_EQ(panel->Records[2].Program, a);
    EXPECT_TRUE(panel->Records[4].Program.empty());
    EXPECT_EQ(panel->Records[1].Program, L"C:\\one.exe");
    EXPECT_EQ(panel->Records[3].Program, L"C:\\three.exe");
    Drop({b});
    EXPECT_EQ(panel->Records[4].Program, b);
}

TEST_F(DropTest, FullPanelIgnoresTheDrop) {
    std::wstring ini;
    for (int n = 1; n <= 30; ++n)
        ini += L"[btn" + std::to_wstring(n) + L"]\r\npg=C:\\p" + std::to_wstring(n) + L".exe\r\n";
    TBtnF1* panel = Start(ini);
    const int pupilTop = mascot->Shape3.Top();
    Drop({MakeFile(L"late.txt")});
    for (int n = 1; n <= 30; ++n)
        EXPECT_EQ(panel->Records[n].Program, L"C:\\p" + std::to_wstring(n) + L".exe");
    EXPECT_EQ(BtnSetF, nullptr);
    EXPECT_EQ(mascot->Shape3.Top(), pupilTop);
    EXPECT_TRUE(errors.empty());
}

TEST_F(DropTest, DropInAModeKeepsTheModeAndTheDialog) {
    const std::wstring a = MakeFile(L"a.txt");
    TBtnF1* panel = Start();
    mascot->PM_BtnChange.Click();
    panel->Buttons[5]->Click(); // a swap source
    panel->PrepareSettingsDialog(9);
    TBtnSetF* existing = BtnSetF;
    Drop({a});
    EXPECT_EQ(panel->Records[1].Program, a);
    EXPECT_EQ(mascot->EditMode(), EditState::Swap);
    EXPECT_EQ(launcher->SwapSource(), 5);
    EXPECT_EQ(BtnSetF, existing); // an existing dialog is left as it is
    EXPECT_EQ(existing->ButtonNo, 9);
}

TEST_F(DropTest, PathsLongerThanTheOldLimitArriveWhole) {
    const std::wstring deep = folder + L"\\" + std::wstring(120, L'd');
    CreateDirectoryW(deep.c_str(), nullptr);
    const std::wstring name = std::wstring(120, L'n') + L".txt";
    const std::wstring path = deep + L"\\" + name;
    ASSERT_GT(path.size(), 255u);
    testfiles::WriteFileBytes(L"\\\\?\\" + path, "x");
    TBtnF1* panel = Start();
    Drop({path});
    EXPECT_EQ(panel->Records[1].Program, path);
    EXPECT_EQ(panel->Records[1].Hint, std::wstring(120, L'n'));
    EXPECT_EQ(panel->Records[1].WorkFolder, deep + L"\\");
}

TEST_F(DropTest, FailingSaveIsReportedAndTheFaceComesBack) {
    const std::wstring a = MakeFile(L"a.txt");
    TBtnF1* panel = Start();
    // A folder where the settings file should be: every write fails.
    DeleteFileW(SettingsPath().c_str());
    ASSERT_TRUE(CreateDirectoryW(SettingsPath().c_str(), nullptr));
    Drop({a});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], SettingsPath() + L" に書き込めません");
    ExpectFaceRestored();
    EXPECT_EQ(panel->Records[1].Program, a); // registered in memory; quitting tries the file again
}

TEST_F(DropTest, ADropNeverVanishesNorLandsWhereASettingsDialogEdits) {
    std::wstring ini;
    for (int n = 1; n <= 30; ++n)
        if (n != 5 && n != 6) ini += L"[btn" + std::to_wstring(n) + L"]\r\npg=C:\\p" + std::to_wstring(n) + L".exe\r\n";
    TBtnF1* panel = Start(ini);
    const std::wstring a = MakeFile(L"a.txt"), b = MakeFile(L"b.txt"), c = MakeFile(L"c.txt");
    // Three drops on free button 5 before the first is read: the next free button, then a word.
    RECT r = panel->Buttons[5]->ItemRect();
    MapWindowPoints(panel->ToolBar1.Handle(), panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
    for (const std::wstring& file : {a, b, c})
        SendMessageW(panel->Handle(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({file}, {(r.left + r.right) / 2, r.top + 2})), 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return panel->DropsPending() == 0; }, std::chrono::seconds(10)));
    EXPECT_EQ(panel->Records[5].Program, a);
    EXPECT_EQ(panel->Records[6].Program, b);
    EXPECT_EQ(errors, std::vector<std::wstring>{L"空いているボタンがありません"});
    // The settings dialog of a free button: a drop on the mascot goes past it, and its OK keeps the drop.
    launcher->SetButton(6, {});
    launcher->SetButton(7, {});
    panel->Buttons[6]->Click();
    ASSERT_NE(BtnSetF, nullptr);
    Drop({c});
    BtnSetF->Button4.Click();
    EXPECT_EQ(panel->Records[7].Program, c);
    EXPECT_FALSE(panel->Records[6].Assigned());
}

TEST_F(DropTest, ThePanelTakesOleDropsBelowTheShellAndNoneOutsideItsButtons) {
    TBtnF1* panel = Start();
    ui::FileDropTarget other;
    EXPECT_EQ(RegisterDragDrop(panel->Handle(), &other), DRAGDROP_E_ALREADYREGISTERED);
    // The shell started again, below this program now: WM_DROPFILES alone, and OLE again once it is not.
    aboveTheShell = true;
    SendMessageW(panel->Handle(), TTaskTrayIcon::TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(RegisterDragDrop(panel->Handle(), &other), S_OK);
    RevokeDragDrop(panel->Handle());
    aboveTheShell = false;
    SendMessageW(panel->Handle(), TTaskTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(RegisterDragDrop(panel->Handle(), &other), DRAGDROP_E_ALREADYREGISTERED);
    // A drop on the frame or caption, over where a button would be: no button takes it.
    RECT r = panel->Buttons[1]->ItemRect();
    MapWindowPoints(panel->ToolBar1.Handle(), panel->Handle(), reinterpret_cast<POINT*>(&r), 2);
    const HDROP drop = MakeDrop({MakeFile(L"a.txt")}, {r.left + 2, r.top + 2}, true);
    SendMessageW(panel->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(panel->DropsPending(), 0);
    EXPECT_FALSE(panel->Records[1].Assigned());
}

TEST_F(DropTest, AWorkerThatRunsOutOfMemoryStillAnswers) {
    TBtnF1* panel = Start(L"[btn1]\r\npg=" + Probe(L"pmrun_memory.exe") + L"\r\n");
    ASSERT_TRUE(wintest::PumpUntil([&] { return !panel->IconsPending(); }, std::chrono::seconds(10)));
    // The drop's reading: the failure is told and the face comes back.
    FailNextAllocationOffThisThread();
    Drop({MakeFile(L"a.txt")});
    ExpectFaceRestored();
    // A start: the button is free again.
    FailNextAllocationOffThisThread();
    panel->Buttons[1]->Click();
    EXPECT_TRUE(wintest::PumpUntil([&] { return !panel->LaunchesPending(); }, std::chrono::seconds(10)));
    EXPECT_EQ(errors.size(), 2u);
}

TEST_F(DropTest, TheDropTargetOffersOnlyWhatTheSourceAllowsAndNeverAMove) {
    StartProgram();
    // What the shell drags from a folder window.
    LPITEMIDLIST item = nullptr;
    ASSERT_EQ(SHParseDisplayName(MakeFile(L"a.txt").c_str(), nullptr, &item, 0, nullptr), S_OK);
    base::ComPtr<IShellFolder> parent;
    LPCITEMIDLIST child = nullptr;
    ASSERT_EQ(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(parent.put()), &child), S_OK);
    base::ComPtr<IDataObject> data;
    ASSERT_EQ(parent->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr,
                                    reinterpret_cast<void**>(data.put())), S_OK);
    CoTaskMemFree(item);
    ui::FileDropTarget target;
    DWORD wanted = DROPEFFECT_COPY;
    target.OnOver = [&](POINT, const std::vector<std::wstring>&) { return wanted; };
    const struct {
        DWORD wanted, allowed, effect;
    } cases[] = {
        {DROPEFFECT_COPY, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {DROPEFFECT_LINK, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_LINK, DROPEFFECT_LINK | DROPEFFECT_COPY, DROPEFFECT_LINK},
        {DROPEFFECT_LINK, DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const auto& c : cases) {
        wanted = c.wanted;
        DWORD effect = c.allowed;
        EXPECT_EQ(target.DragEnter(data.get(), 0, {}, &effect), S_OK);
        EXPECT_EQ(effect, c.effect) << c.wanted << " " << c.allowed;
    }
    EXPECT_EQ(target.DragEnter(data.get(), 0, {}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target.DragOver(0, {}, nullptr), E_INVALIDARG);
    EXPECT_EQ(target.Drop(data.get(), 0, {}, nullptr), E_INVALIDARG);
    // A drop that cannot be handed on is none; an error inside OLE's loop is told once it has returned.
    target.OnDrop = [](POINT, const std::vector<std::wstring>&) { return false; };
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.Drop(data.get(), 0, {}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target.OnOver = [](POINT, const std::vector<std::wstring>&) -> DWORD { throw Exception(L"over"); };
    effect = DROPEFFECT_COPY;
    target.DragEnter(data.get(), 0, {}, &effect);
    EXPECT_TRUE(errors.empty());
    app->ProcessMessages();
    EXPECT_EQ(errors, std::vector<std::wstring>{L"over"});
}

TEST_F(DropTest, ASourceThatStillHoldsARevokedTargetReachesNothing) {
    StartProgram();
    ui::FileDropTarget target;
    int leaves = 0;
    target.OnLeave = [&] { ++leaves; };
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(target.Register(window));
    // As another program's drag holds it: marshalled, then called through a proxy from another apartment.
    const auto hold = [&] {
        IStream* stream = nullptr;
        CoMarshalInterThreadInterfaceInStream(IID_IDropTarget, &target, &stream);
        return stream;
    };
    const auto leave = [&](IStream* stream) {
        HRESULT hr = E_FAIL;
        std::atomic<bool> done{false};
        std::thread source([&] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            IDropTarget* proxy = nullptr;
            hr = CoGetInterfaceAndReleaseStream(stream, IID_IDropTarget, reinterpret_cast<void**>(&proxy));
            if (SUCCEEDED(hr)) {
                hr = proxy->DragLeave();
                proxy->Release();
            }
            CoUninitialize();
            done = true;
        });
        wintest::PumpUntil([&] { return done.load(); }, std::chrono::seconds(10));
        source.join();
        return hr;
    };
    EXPECT_EQ(leave(hold()), S_OK);
    IStream* held = hold();
    target.Revoke(window);
    EXPECT_TRUE(FAILED(leave(held)));
    EXPECT_EQ(leaves, 1);
    // A target's end revokes what it registered.
    auto first = std::make_unique<ui::FileDropTarget>();
    ASSERT_TRUE(first->Register(window));
    first.reset();
    EXPECT_TRUE(target.Register(window));
    target.Revoke(window);
    DestroyWindow(window);
}
