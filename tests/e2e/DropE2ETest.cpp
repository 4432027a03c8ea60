// Registering by dropping: a program, a document, a shortcut and a folder dragged with the real X pointer
// onto the mascot of the real pmrun.exe, a drop on an unwritable settings file, and the process killed
// while it saves a drop.

#include "PmrunProcess.h"
#include "Programs.h"
#include "XDrag.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

using namespace e2e;

namespace {

class DropE2E : public E2ETest {
protected:
    void SetUp() override {
        if (!XDragAvailable()) GTEST_SKIP() << "needs the X drag helper that scripts/test starts";
        E2ETest::SetUp();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        E2ETest::TearDown();
    }

    bool Start(const std::wstring& sections) {
        pmrun.WriteIni(StandardIni(kNoEdges, sections));
        return pmrun.Start();
    }
    static POINT MascotCentre(const PmrunProcess& process) {
        const RECT r = WindowRect(process.Mascot());
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Drops the files on the mascot; true once the drop was made.
    ::testing::AssertionResult Drop(const std::vector<std::wstring>& files) {
        const std::string failure = DragFilesTo(files, MascotCentre(pmrun));
        if (!failure.empty()) return ::testing::AssertionFailure() << failure;
        return ::testing::AssertionSuccess();
    }
    std::wstring Make(const std::wstring& name) const {
        const std::wstring path = pmrun.Folder() + L"\\" + name;
        WriteFileBytes(path, "text\r\n");
        return path;
    }
};

// Same file or folder, whatever form of its name each side uses (drive letter, 8.3 parts, case).
bool SamePath(const std::string& saved, const std::wstring& expected) {
    wchar_t savedWide[4096] = {};
    MultiByteToWideChar(CP_ACP, 0, saved.c_str(), -1, savedWide, 4096);
    wchar_t a[4096] = {}, b[4096] = {};
    if (!GetLongPathNameW(savedWide, a, 4096) || !GetLongPathNameW(expected.c_str(), b, 4096)) return false;
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

std::wstring WithSlash(const std::wstring& folder) {
    return folder + L"\\";
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + text.size() - tail.size(), -1,
                          tail.c_str(), -1) == CSTR_EQUAL;
}

// Writable again whatever happens, or the folder could not be removed.
struct Unlock {
    std::wstring path;
    ~Unlock() { LockFile(path, false); }
};

std::wstring ThirtyButtons() {
    std::wstring sections;
    for (int n = 1; n <= 30; ++n)
        sections += ButtonSection(n, L"pg=C:\\programs\\tool" + std::to_wstring(n) + L".exe\r\n");
    return sections;
}

} // namespace

// Through OLE, from a source that offers a copy only: the program opens the file with its options.
TEST_F(DropE2E, OnThePanelAProgramOpensTheDroppedFile) {
    const std::wstring opener = pmrun.CopyProbe(L"opener.exe");
    ASSERT_TRUE(Start(ButtonSection(1, L"pg=" + opener + L"\r\nop=-o\r\n")));
    ASSERT_EQ(DragFilesTo({Make(L"notes.txt")}, pmrun.ButtonCentre(1)), "");
    ASSERT_TRUE(WaitFor([&] { return !ProbeStarts(opener).empty(); }));
    const std::wstring& started = ProbeStarts(opener)[0].commandLine;
    EXPECT_NE(started.find(L"-o \""), std::wstring::npos) << ToAnsi(started);
    EXPECT_NE(started.find(L"notes.txt\""), std::wstring::npos) << ToAnsi(started);
}

TEST_F(DropE2E, AProgramGoesToTheFirstFreeButtonAndItsClickStartsIt) {
    const std::wstring first = pmrun.CopyProbe(L"first.exe");
    ASSERT_TRUE(Start(ButtonSection(1, L"pg=" + first + L"\r\n")));
    const std::wstring tool = pmrun.CopyProbe(L"ツール.exe"), other = pmrun.CopyProbe(L"other.exe");
    // Of several files dropped at once only the first is taken.
    ASSERT_TRUE(Drop({tool, other}));
    ASSERT_TRUE(WaitFor([&] { return !pmrun.Saved(2, "pg").empty(); }));
    EXPECT_TRUE(SamePath(pmrun.Saved(2, "pg"), tool)) << pmrun.Saved(2, "pg");
    // The probe carries no icon: the system's stands in.
    EXPECT_TRUE(EndsWithNoCase(pmrun.Saved(2, "ic"), "\\shell32.dll")) << pmrun.Saved(2, "ic");
    EXPECT_EQ(pmrun.Saved(2, "icidx"), "0");
    EXPECT_TRUE(SamePath(pmrun.Saved(2, "dr"), WithSlash(pmrun.Folder()))) << pmrun.Saved(2, "dr");
    EXPECT_EQ(pmrun.Saved(2, "lb"), ToAnsi(L"ツール"));
    EXPECT_EQ(pmrun.Saved(2, "op"), "");
    EXPECT_EQ(pmrun.Saved(3, "pg"), "<missing>");
    EXPECT_FALSE(pmrun.ErrorBox());

    pmrun.ClickButton(2);
    EXPECT_TRUE(WaitFor([&] { return !ProbeStarts(tool).empty(); }));
    EXPECT_TRUE(ProbeStarts(other).empty());
}

TEST_F(DropE2E, ADocumentTakesTheIconOfTheProgramThatOpensIt) {
    ASSERT_TRUE(Start(L""));
    const std::wstring notes = Make(L"メモ.txt");
    ASSERT_TRUE(Drop({notes}));
    ASSERT_TRUE(WaitFor([&] { return !pmrun.Saved(1, "pg").empty(); }));
    EXPECT_TRUE(SamePath(pmrun.Saved(1, "pg"), notes)) << pmrun.Saved(1, "pg");
    EXPECT_TRUE(EndsWithNoCase(pmrun.Saved(1, "ic"), "\\notepad.exe")) << pmrun.Saved(1, "ic");
    EXPECT_EQ(pmrun.Saved(1, "lb"), ToAnsi(L"メモ"));
}

TEST_F(DropE2E, AShortcutRegistersTheProgramItPointsAt) {
    ASSERT_TRUE(Start(L""));
    // A copy of the launcher itself, for a program with an icon of its own.
    const std::wstring target = pmrun.Folder() + L"\\target program.exe";
    ASSERT_TRUE(CopyFileW((pmrun.Folder() + L"\\pmrun.exe").c_str(), target.c_str(), FALSE));
    const std::wstring link = pmrun.Folder() + L"\\近道.lnk";
    {
        IShellLinkW* shellLink = nullptr;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IShellLinkW, reinterpret_cast<void**>(&shellLink)));
        IPersistFile* file = nullptr;
        shellLink->SetPath(target.c_str());
        ASSERT_HRESULT_SUCCEEDED(
            shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
        EXPECT_HRESULT_SUCCEEDED(file->Save(link.c_str(), TRUE));
        file->Release();
        shellLink->Release();
    }
    ASSERT_TRUE(Drop({link}));
    ASSERT_TRUE(WaitFor([&] { return !pmrun.Saved(1, "pg").empty(); }));
    EXPECT_TRUE(SamePath(pmrun.Saved(1, "pg"), target)) << pmrun.Saved(1, "pg");
    EXPECT_TRUE(SamePath(pmrun.Saved(1, "ic"), target)) << pmrun.Saved(1, "ic");
    EXPECT_EQ(pmrun.Saved(1, "icidx"), "0");
}

TEST_F(DropE2E, AFolderOpensInExplorerRootedAtIt) {
    ASSERT_TRUE(Start(L""));
    const std::wstring folder = pmrun.Folder() + L"\\資料 2026";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(Drop({folder}));
    ASSERT_TRUE(WaitFor([&] { return pmrun.Saved(1, "icidx") == "3"; }));
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(SamePath(pmrun.Saved(1, "pg"), std::wstring(windows) + L"\\Explorer.exe"))
        << pmrun.Saved(1, "pg");
    const std::string options = pmrun.Saved(1, "op");
    ASSERT_EQ(options.rfind("/c /root,", 0), 0u) << options;
    EXPECT_TRUE(SamePath(options.substr(9), folder)) << options;
    EXPECT_TRUE(SamePath(pmrun.Saved(1, "lb"), folder)) << pmrun.Saved(1, "lb");
    EXPECT_EQ(pmrun.Saved(1, "dr"), "");
}

TEST_F(DropE2E, WithEveryButtonTakenADropChangesNothing) {
    ASSERT_TRUE(Start(ThirtyButtons()));
    const std::string before = pmrun.IniBytes();
    ASSERT_TRUE(Drop({pmrun.CopyProbe(L"late.exe")}));
    // The drop was posted before the helper answered, and a tick comes after it.
    ASSERT_TRUE(pmrun.MovePointerForTick(kAwayX, kAwayY));
    EXPECT_EQ(pmrun.IniBytes(), before);
    EXPECT_FALSE(pmrun.ErrorBox());
    EXPECT_TRUE(pmrun.Running());
}

TEST_F(DropE2E, AKillWhileADropSavesLeavesTheButtonWholeOrNotThere) {
    // A drop writes the new button's keys into a copy beside the file, which then takes the file's place.
    // The kill comes the moment the copy is seen; a save that runs between two looks is not caught, and the
    // next round tries again.
    int caught = 0;
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        PmrunProcess process;
        const std::wstring first = process.CopyProbe(L"first.exe");
        process.WriteIni(StandardIni(kNoEdges, ButtonSection(1, L"pg=" + first + L"\r\nlb=最初\r\n")));
        ASSERT_TRUE(process.Start());
        const std::string before = process.IniBytes();
        const std::wstring dropped = process.CopyProbe(L"dropped.exe");
        const std::string failure =
            DragFilesTo({dropped}, MascotCentre(process), [&] { caught += process.KillWhileSaving(); });
        ASSERT_EQ(failure, "");
        process.Kill();
        // The file as it was, or that with the new button whole.
        const std::string bytes = process.IniBytes();
        if (bytes == before) continue;
        const auto after = ParseIni(bytes);
        for (const IniKey& key : ParseIni(before))
            EXPECT_EQ(ValueOf(after, key.section, key.key), key.value) << key.section << "." << key.key;
        for (const char* key : {"pg", "ic", "icidx", "dr", "lb", "op"})
            EXPECT_NE(ValueOf(after, "btn2", key), "<missing>") << key;
        EXPECT_TRUE(SamePath(ValueOf(after, "btn2", "pg"), dropped)) << ValueOf(after, "btn2", "pg");
        EXPECT_EQ(ValueOf(after, "btn2", "icidx"), "0");
        EXPECT_EQ(ValueOf(after, "btn2", "lb"), "dropped");
    }
    EXPECT_GE(caught, 1);
}

TEST_F(DropE2E, AnUnwritableFileIsReportedByTheDropAndOnceByTheQuitWhichEnds) {
    ASSERT_TRUE(Start(ButtonSection(1, L"pg=C:\\one.exe\r\nlb=いち\r\n")));
    const std::string before = pmrun.IniBytes();
    ASSERT_EQ(LockFile(pmrun.IniPath(), true), "");
    const Unlock unlock{pmrun.IniPath()};
    const auto expectRefusal = [&] {
        HWND box = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (box = pmrun.ExceptionBox()) != nullptr; }));
        const std::wstring message = WindowText(GetDlgItem(box, 0xFFFF));
        EXPECT_TRUE(message.ends_with(L"\\pmrun.Ini に書き込めません")) << ToAnsi(message);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return pmrun.ExceptionBox() == nullptr; }));
    };

    const std::wstring tool = pmrun.CopyProbe(L"tool.exe");
    ASSERT_TRUE(Drop({tool}));
    expectRefusal();
    EXPECT_EQ(pmrun.IniBytes(), before);
    PostMessageW(pmrun.Mascot(), WM_CLOSE, 0, 0);
    expectRefusal();
    EXPECT_TRUE(WaitFor([&] { return !pmrun.Running(); }, 10000));
    EXPECT_EQ(pmrun.IniBytes(), before);
}

TEST_F(DropE2E, AFolderThatTakesNoNewFilesStillSavesToItsWritableFile) {
    ASSERT_TRUE(Start(ButtonSection(1, L"pg=C:\\one.exe\r\n")));
    const std::wstring tool = pmrun.CopyProbe(L"tool.exe");
    ASSERT_EQ(LockFile(pmrun.Folder(), true), "");
    const Unlock unlock{pmrun.Folder()};
    ASSERT_TRUE(Drop({tool}));
    EXPECT_TRUE(WaitFor([&] { return pmrun.Saved(2, "pg") != "<missing>"; }));
    EXPECT_TRUE(SamePath(pmrun.Saved(2, "pg"), tool)) << pmrun.Saved(2, "pg");
    EXPECT_FALSE(pmrun.ExceptionBox());
    ASSERT_TRUE(pmrun.Quit());
    EXPECT_EQ(pmrun.Saved(1, "pg"), "C:\\one.exe");
    // Quitting wrote the keys the prepared file lacked.
    EXPECT_NE(ValueOf(ParseIni(pmrun.IniBytes()), "eye", "LineMax"), "<missing>");
    EXPECT_EQ(GetFileAttributesW((pmrun.IniPath() + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}
