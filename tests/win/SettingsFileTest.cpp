// The settings file through the real profile functions: what is read, what is written, in which order,
// and what happens when the file cannot be written.

#include "WinTestSupport.h"

#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "settings/Profile.h"
#include "settings/Sections.h"

using namespace testfiles;
using wintest::SettingsPath;

namespace {

// A profile file that refuses the write of one key, as a full disk or a lost share would.
class FailingProfile : public ProfileFile {
public:
    FailingProfile(std::wstring path, std::wstring failingKey)
        : ProfileFile(std::move(path)), failingKey_(std::move(failingKey)) {}

protected:
    bool WriteKey(const std::wstring& section, const std::wstring& key, const std::wstring& value) override {
        if (key == failingKey_) return SetLastError(ERROR_DISK_FULL), false;
        return ProfileFile::WriteKey(section, key, value);
    }

private:
    std::wstring failingKey_;
};

// ReplaceFileW failing half-way: the file is gone, the copy holds all; blocked, a folder stands in its place.
struct HalfWayReplace : ProfileFile {
    HalfWayReplace(std::wstring path, bool blocked) : ProfileFile(std::move(path)), blocked(blocked) {}
    bool Replace(const std::wstring&, const std::wstring&) override {
        DeleteFileW(Path().c_str());
        if (blocked) CreateDirectoryW(Path().c_str(), nullptr);
        return false;
    }
    bool blocked;
};

// Logs the steps that keep a save whole through a power cut, named after the settings file.
struct LoggedSteps : ProfileFile {
    using ProfileFile::ProfileFile;
    std::wstring Name(const std::wstring& path) const { return L"file" + path.substr(Path().size()); }
    void FlushToDisk(const std::wstring& path) override {
        log.push_back(L"flush " + Name(path));
        ProfileFile::FlushToDisk(path);
    }
    bool MoveIntoPlace(const std::wstring& from, const std::wstring& to) override {
        log.push_back(L"move " + Name(from) + L" to " + Name(to));
        return ProfileFile::MoveIntoPlace(from, to);
    }
    bool Replace(const std::wstring& replaced, const std::wstring& replacement) override {
        log.push_back(L"replace " + Name(replaced) + L" by " + Name(replacement));
        return ProfileFile::Replace(replaced, replacement);
    }
    std::vector<std::wstring> log;
};

class SettingsFileTest : public wintest::AppTest {
protected:
    void TearDown() override {
        SetFileAttributesW(CopyPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(CopyPath().c_str());
        wintest::AppTest::TearDown();
    }
    // Where a save writes its copy before it takes the file's place.
    static std::wstring CopyPath() { return SettingsPath() + L".saving"; }
};

} // namespace

TEST_F(SettingsFileTest, FirstStartWithoutFileUsesEveryDefault) {
    auto* mascot = StartProgram();
    EXPECT_EQ(mascot->Left(), 500);
    EXPECT_EQ(mascot->Top(), 0);
    EXPECT_EQ(mascot->Options().LineMax, 6);
    EXPECT_EQ(mascot->Options().ApSc, L"Alt+A");
    EXPECT_EQ(mascot->Options().DApSc, L"Alt+Z");
    EXPECT_EQ(mascot->Options().Color, clYellow);
    EXPECT_EQ(mascot->Options().PamuHide.Text(), L"");
    EXPECT_EQ(mascot->Options().HintPos.Text(), L"");
    EXPECT_EQ(static_cast<int>(mascot->Options().TWall) + static_cast<int>(mascot->Options().BWall) +
                  static_cast<int>(mascot->Options().LWall) + static_cast<int>(mascot->Options().RWall),
              0);
    EXPECT_EQ(BtnF1->Left(), 100);
    EXPECT_EQ(BtnF1->Top(), 100);
    for (int n = 1; n <= 30; ++n)
        EXPECT_FALSE(BtnF1->Records[n].Assigned());
    // Reading never creates the file.
    EXPECT_EQ(GetFileAttributesW(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsFileTest, QuittingWritesTheCompleteLayoutInOrder) {
    auto* mascot = StartProgram();
    mascot->Close();
    auto keys = ParseIni(ReadFileBytes(SettingsPath()));
    EXPECT_EQ(KeyOrder(keys), CompleteLayout());
    EXPECT_EQ(ValueOf(keys, "eye", "Top"), "0");
    EXPECT_EQ(ValueOf(keys, "eye", "Left"), "500");
    EXPECT_EQ(ValueOf(keys, "eye", "LineMax"), "6");
    EXPECT_EQ(ValueOf(keys, "eye", "Startup"), "");
    EXPECT_EQ(ValueOf(keys, "eye", "ApSc"), "Alt+A");
    EXPECT_EQ(ValueOf(keys, "eye", "DApSc"), "Alt+Z");
    EXPECT_EQ(ValueOf(keys, "eye", "Color"), "clYellow");
    EXPECT_EQ(ValueOf(keys, "btnform", "left"), "100");
    EXPECT_EQ(ValueOf(keys, "btnform", "width"), std::to_string(BtnF1->Width()));
    EXPECT_EQ(ValueOf(keys, "btnform", "height"), std::to_string(BtnF1->Height()));
    EXPECT_EQ(ValueOf(keys, "btn30", "icidx"), "0");
    EXPECT_EQ(ValueOf(keys, "btn30", "pg"), "");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsFileTest, ReadsEveryKeyWithTheIntegerRule) {
    WriteFileBytes(SettingsPath(),
                   ToAnsi(L"[eye]\r\nTop=0x1F4\r\nLeft=$64\r\nLineMax=2\r\nStartup=Yes\r\n"
                          L"PamuHide=No\r\nTPamuHide=Yes\r\nHintPos=pamu\r\nTWall=1\r\nBWall=2\r\n"
                          L"LWall=letters\r\nRWall=-1\r\nApSc=\r\nDApSc=Ctrl+Z\r\nColor=clRed\r\n"
                          L"[btn2]\r\npg=C:\\ツール\\editor.exe\r\nic=C:\\ツール\\editor.exe\r\n"
                          L"icidx=3\r\nop=/x \"a b\"\r\ndr=C:\\ツール\\\r\nlb=エディタ\r\n"));
    auto* mascot = StartProgram();
    EXPECT_EQ(mascot->Top(), 500);
    EXPECT_EQ(mascot->Left(), 100);
    EXPECT_EQ(mascot->Options().LineMax, 2);
    EXPECT_EQ(mascot->Options().Startup.Text(), L"Yes");
    EXPECT_EQ(mascot->Options().PamuHide.Text(), L"No");
    EXPECT_EQ(mascot->Options().TPamuHide.Text(), L"Yes");
    EXPECT_EQ(mascot->Options().HintPos.Text(), L"pamu");
    EXPECT_EQ(static_cast<int>(mascot->Options().TWall), 1);
    EXPECT_EQ(static_cast<int>(mascot->Options().BWall), 2);
    EXPECT_EQ(static_cast<int>(mascot->Options().LWall), 0); // letters: the default
    EXPECT_EQ(static_cast<int>(mascot->Options().RWall), -1);
    EXPECT_EQ(mascot->Options().ApSc, L""); // present but empty is not the default
    EXPECT_EQ(mascot->Options().DApSc, L"Ctrl+Z");
    EXPECT_EQ(mascot->Options().Color, clRed);
    EXPECT_EQ(mascot->ui::Form::Color(), clRed);

    const ButtonRecord& b2 = BtnF1->Records[2];
    EXPECT_EQ(b2.Program, L"C:\\ツール\\editor.exe");
    EXPECT_EQ(b2.IconIndex, 3);
    EXPECT_EQ(b2.Options, L"/x \"a b\"");
    EXPECT_EQ(b2.WorkFolder, L"C:\\ツール\\");
    EXPECT_EQ(b2.Hint, L"エディタ");
    EXPECT_EQ(BtnF1->Buttons[2]->Hint(), L"エディタ");
    // A file without "btnform" puts the panel at 100, 100 before its own sizing.
    EXPECT_EQ(BtnF1->Left(), 100);
    EXPECT_EQ(BtnF1->Top(), 100);
    EXPECT_FALSE(BtnF1->Records[1].Assigned());
}

TEST_F(SettingsFileTest, TextsAreCutAt2047Characters) {
    std::wstring hint(3000, L'x');
    WriteFileBytes(SettingsPath(), ToAnsi(L"[btn1]\r\nlb=" + hint + L"\r\n"));
    ProfileFile file(SettingsPath());
    EXPECT_EQ(ReadButtonRecord(file, 1).Hint, std::wstring(2047, L'x'));
}

TEST_F(SettingsFileTest, AButtonReadInOneGoEqualsItsKeysReadOneByOne) {
    // Files written by hand: case, blanks, quotes, duplicates, a repeated section, a key without value,
    // comments, non-ASCII text, a value past the read limit and a section with nothing in it.
    const std::wstring text =
        L"[btn1]\r\nPG = C:\\Program Files\\エディタ\\edit.exe \r\nIc=\"C:\\icons.dll\"\r\nicidx= 0x1F\r\n"
        L"op='-a \"b\"'\r\nop=second\r\n; dr=comment\r\ndr\r\nlb=\"half\r\n"
        L"[BTN2]\r\npg=two=2\r\nlb=" +
        std::wstring(2100, L'長') +
        L"\r\nicidx=-7\r\n"
        L"[btn1]\r\nlb=from the repeated section\r\n[btn3]\r\n[btn4]\r\nicidx=$FFFFFFFF\r\nop=\"\r\n";
    WriteFileBytes(SettingsPath(), ToAnsi(text));
    ProfileFile file(SettingsPath());
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE("btn" + std::to_string(n));
        const std::wstring section = L"btn" + std::to_wstring(n);
        const ButtonRecord record = ReadButtonRecord(file, n);
        EXPECT_EQ(record.Program, file.ReadString(section, L"pg", L""));
        EXPECT_EQ(record.IconFile, file.ReadString(section, L"ic", L""));
        EXPECT_EQ(record.IconIndex, file.ReadInteger(section, L"icidx", 0));
        EXPECT_EQ(record.Options, file.ReadString(section, L"op", L""));
        EXPECT_EQ(record.WorkFolder, file.ReadString(section, L"dr", L""));
        EXPECT_EQ(record.Hint, file.ReadString(section, L"lb", L""));
    }
    // And what they read, so that agreement on nothing cannot pass.
    const ButtonRecord first = ReadButtonRecord(file, 1);
    EXPECT_EQ(first.Program, L"C:\\Program Files\\エディタ\\edit.exe");
    EXPECT_EQ(first.IconFile, L"C:\\icons.dll");
    EXPECT_EQ(first.IconIndex, 31);
    EXPECT_EQ(first.Options, L"-a \"b\"");
    EXPECT_EQ(ReadButtonRecord(file, 2).Hint, std::wstring(2047, L'長'));
    EXPECT_EQ(ReadButtonRecord(file, 4).IconIndex, -1);
}

TEST_F(SettingsFileTest, ColourThatNamesNothingReadsAsYellowAndCreationCompletes) {
    WriteFileBytes(SettingsPath(), "[eye]\r\nColor=banana\r\n");
    auto* mascot = StartProgram();
    EXPECT_EQ(mascot->Options().Color, clYellow);
    EXPECT_EQ(mascot->ui::Form::Color(), clYellow);
    ASSERT_NE(BtnF1, nullptr);
    EXPECT_EQ(mascot->Width(), 31);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsFileTest, QuittingInAnEditModeKeepsTheUsersColour) {
    WriteFileBytes(SettingsPath(), "[eye]\r\nColor=$00123456\r\n");
    auto* mascot = StartProgram();
    mascot->SetColor(clBlue); // as the set-details mode shows it
    mascot->Close();
    EXPECT_EQ(ValueOf(ParseIni(ReadFileBytes(SettingsPath())), "eye", "Color"), "$00123456");
}

TEST_F(SettingsFileTest, AKeyThatFailsOnQuittingLeavesTheFileAsItWasAndNoCopy) {
    auto* mascot = StartProgram();
    const std::string before = "[eye]\r\nTop=7\r\n[btn5]\r\npg=C:\\keep.exe\r\n";
    WriteFileBytes(SettingsPath(), before);
    FailingProfile file(SettingsPath(), L"HintPos");
    try {
        mascot->SaveAll(file);
        FAIL() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), SettingsPath() + L" に書き込めません");
        EXPECT_EQ(e.SystemError(), static_cast<std::uint32_t>(ERROR_DISK_FULL));
    }
    EXPECT_EQ(ReadFileBytes(SettingsPath()), before);
    EXPECT_EQ(GetFileAttributesW(CopyPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileTest, ASaveKeepsTheFilesAttributesAndSecurity) {
    auto* mascot = StartProgram();
    WriteFileBytes(SettingsPath(), "[eye]\r\nTop=7\r\n");
    ASSERT_TRUE(SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_HIDDEN));
    // Read and write for everyone, and nothing more: a security the file did not inherit.
    SECURITY_DESCRIPTOR security;
    InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    alignas(DWORD) BYTE aclBytes[256];
    auto* acl = reinterpret_cast<PACL>(aclBytes);
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    alignas(DWORD) BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof everyone;
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize);
    AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE, everyone);
    SetSecurityDescriptorDacl(&security, TRUE, acl, FALSE);
    ASSERT_TRUE(SetFileSecurityW(SettingsPath().c_str(), DACL_SECURITY_INFORMATION, &security));
    const auto dacl = [] {
        DWORD size = 0;
        GetFileSecurityW(SettingsPath().c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
        std::vector<BYTE> bytes(size);
        GetFileSecurityW(SettingsPath().c_str(), DACL_SECURITY_INFORMATION, bytes.data(), size, &size);
        return bytes;
    };
    const auto securityBefore = dacl();

    mascot->Close();
    EXPECT_EQ(KeyOrder(ParseIni(ReadFileBytes(SettingsPath()))), CompleteLayout());
    EXPECT_TRUE(GetFileAttributesW(SettingsPath().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dacl(), securityBefore);
    // The same when a replace that failed half-way leaves the copy to be moved into place.
    HalfWayReplace halfWay(SettingsPath(), false);
    mascot->SaveAll(halfWay);
    EXPECT_TRUE(GetFileAttributesW(SettingsPath().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dacl(), securityBefore);
    SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFileTest, WholeSettingsLeftInTheCopyAloneAreNeverGivenUpAndTheNextStartReadsThem) {
    WriteFileBytes(SettingsPath(), "[other]\r\nkeep=1\r\n");
    HalfWayReplace file(SettingsPath(), true);
    EXPECT_THROW(file.WriteAsOneChange([&] { file.WriteString(L"btn3", L"pg", L"3"); }), EIniFileException);
    ASSERT_TRUE(RemoveDirectoryW(SettingsPath().c_str()));
    Launcher restarted(SettingsPath());
    ASSERT_TRUE(restarted.ReadButtons());
    EXPECT_EQ(restarted.Button(3).Program, L"3");
    restarted.SaveButtons({1}); // goes on from the copy, which then takes the file's place
    EXPECT_EQ(ValueOf(ParseIni(ReadFileBytes(SettingsPath())), "other", "keep"), "1");
}

TEST_F(SettingsFileTest, AReadOnlyCopyLeftByAnEndedProcessGivesWay) {
    StartProgram();
    WriteFileBytes(SettingsPath(), "[eye]\r\nTop=7\r\n");
    WriteFileBytes(CopyPath(), "[eye]\r\nTop=");
    ASSERT_TRUE(SetFileAttributesW(CopyPath().c_str(), FILE_ATTRIBUTE_READONLY));
    launcher->SaveButtons({3});
    EXPECT_EQ(ValueOf(ParseIni(ReadFileBytes(SettingsPath())), "eye", "Top"), "7");
    EXPECT_EQ(KeyOrder(ParseIni(ReadFileBytes(SettingsPath()))).size(), 7u);
    EXPECT_EQ(GetFileAttributesW(CopyPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileTest, AFileHeldOpenWithoutDeleteSharingIsWrittenInPlace) {
    auto* mascot = StartProgram();
    WriteFileBytes(SettingsPath(), "[eye]\r\nTop=7\r\n");
    HANDLE held = CreateFileW(SettingsPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    mascot->Close();
    CloseHandle(held);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(KeyOrder(ParseIni(ReadFileBytes(SettingsPath()))), CompleteLayout());
    EXPECT_EQ(GetFileAttributesW(CopyPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileTest, AValueOutsideTheCodePageMakesTheFileUtf16WithEverythingItHeld) {
    WriteFileBytes(SettingsPath(), ToAnsi(L"[btn2]\r\nlb=エディタ\r\n"));
    launcher->SaveOptions(); // every value fits: the file stays in the code page
    EXPECT_EQ(ValueOf(ParseIni(ReadFileBytes(SettingsPath())), "btn2", "lb"), ToAnsi(L"エディタ"));
    ButtonRecord outside;
    outside.Program = L"C:\\Zoë한.exe";
    launcher->SetButton(3, outside);
    launcher->SaveButtons({3});
    EXPECT_EQ(ReadFileBytes(SettingsPath()).substr(0, 2), "\xFF\xFE");
    Launcher restarted(SettingsPath());
    restarted.ReadButtons();
    EXPECT_EQ(restarted.Button(3).Program, L"C:\\Zoë한.exe");
    EXPECT_EQ(restarted.Button(2).Hint, L"エディタ");
}

TEST_F(SettingsFileTest, ANewFileIsOnTheDiskBeforeItTakesTheOldOnesPlace) {
    WriteFileBytes(SettingsPath(), "[eye]\r\nTop=7\r\n");
    LoggedSteps file(SettingsPath());
    // A value outside the code page: the copy is made UTF-16 first, the same way.
    file.WriteAsOneChange([&] { file.WriteString(L"btn1", L"pg", L"C:\\Zoë.exe"); });
    EXPECT_EQ(file.log, (std::vector<std::wstring>{L"flush file.saving.unicode", L"move file.saving.unicode to file.saving",
                                                   L"flush file.saving", L"replace file by file.saving"}));
    EXPECT_EQ(ReadFileBytes(SettingsPath()).substr(0, 2), "\xFF\xFE");
}

TEST_F(SettingsFileTest, LineBreaksInAValueCannotStartASection) {
    ProfileFile file(SettingsPath());
    ButtonRecord record;
    record.Program = L"a.exe";
    record.Hint = L"one\r\n[btn2]\r\npg=evil.exe";
    WriteButtonRecord(file, 1, record);
    EXPECT_EQ(ReadButtonRecord(file, 2).Program, L"");
    EXPECT_EQ(ReadButtonRecord(file, 1).Hint, L"one  [btn2]  pg=evil.exe");
}

TEST_F(SettingsFileTest, UnwritableFileIsReportedOnceOnQuittingAndTheProgramEnds) {
    auto* mascot = StartProgram();
    const std::string before = "[eye]\r\nTop=7\r\n[btn5]\r\npg=C:\\keep.exe\r\n";
    WriteFileBytes(SettingsPath(), before);
    // Held open without sharing: the profile functions cannot write it.
    HANDLE lock = CreateFileW(SettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    SendMessageW(mascot->Handle(), WM_CLOSE, 0, 0);
    CloseHandle(lock);

    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], SettingsPath() + L" に書き込めません");
    EXPECT_TRUE(app->TerminateRequested());
    EXPECT_EQ(ReadFileBytes(SettingsPath()), before);
}

TEST_F(SettingsFileTest, SessionEndIsNeverRefusedAndSavesOnlyAsItEndsWithoutAWord) {
    auto* mascot = StartProgram();
    WriteFileBytes(SettingsPath(), "");
    EXPECT_EQ(SendMessageW(mascot->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(app->Handle(), WM_ENDSESSION, FALSE, 0); // the session goes on after all
    EXPECT_EQ(ReadFileBytes(SettingsPath()), "");
    HANDLE lock = CreateFileW(SettingsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SendMessageW(app->Handle(), WM_ENDSESSION, TRUE, 0);
    CloseHandle(lock);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(app->TerminateRequested());
    SendMessageW(app->Handle(), WM_ENDSESSION, TRUE, 0); // writable, it saves what quitting saves
    EXPECT_EQ(KeyOrder(ParseIni(ReadFileBytes(SettingsPath()))), CompleteLayout());
}
