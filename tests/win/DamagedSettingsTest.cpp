// Settings files as they are found in the wild: empty, garbage, huge, with giant values, twice-written
// sections and keys, a button that does not exist, old Mac line ends, UTF-16. The program starts, takes
// what it can read and the defaults for the rest, and quitting leaves a file every key can be read from.

#include "WinTestSupport.h"

#include "model/Launcher.h"
#include "panel/Btn.h"
#include "settings/Profile.h"

#include <random>

using namespace testfiles;
using wintest::SettingsPath;

namespace {

// Every key quitting writes, read back through the profile functions (whatever the file's encoding).
std::vector<std::string> UnreadableKeys() {
    std::vector<std::string> missing;
    for (const std::string& dotted : CompleteLayout()) {
        const auto dot = dotted.find('.');
        const std::wstring section(dotted.begin(), dotted.begin() + static_cast<std::ptrdiff_t>(dot));
        const std::wstring key(dotted.begin() + static_cast<std::ptrdiff_t>(dot) + 1, dotted.end());
        wchar_t value[16]{};
        GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<missing>", value, 16,
                                 SettingsPath().c_str());
        if (std::wstring(value) == L"<missing>") missing.push_back(dotted);
    }
    return missing;
}

std::wstring ReadBack(const wchar_t* section, const wchar_t* key) {
    std::wstring value(4096, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(section, key, L"", value.data(), 4096, SettingsPath().c_str());
    value.resize(length);
    return value;
}

class DamagedSettingsTest : public wintest::AppTest {
protected:
    // Starts on the bytes as they are, then quits.
    TpamuF* StartOn(const std::string& bytes) {
        WriteFileBytes(SettingsPath(), bytes);
        return StartProgram();
    }
    void Quit(TpamuF* mascot) {
        mascot->Close();
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(UnreadableKeys(), std::vector<std::string>{});
    }
};

} // namespace

TEST_F(DamagedSettingsTest, AnEmptyFileGivesTheDefaults) {
    TpamuF* mascot = StartOn("");
    EXPECT_EQ(mascot->Left(), 500);
    EXPECT_EQ(mascot->Options().LineMax, 6);
    EXPECT_EQ(mascot->Options().ApSc, L"Alt+A");
    Quit(mascot);
}

TEST_F(DamagedSettingsTest, BinaryGarbageGivesTheDefaults) {
    std::mt19937 random(766);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random() & 0xFF);
    TpamuF* mascot = StartOn(garbage);
    EXPECT_EQ(mascot->Options().Color, clYellow);
    for (int n = 1; n <= 30; ++n)
        EXPECT_EQ(BtnF1->Records[n].Program.size() <= 2047, true);
    Quit(mascot);
}

TEST_F(DamagedSettingsTest, TenMegabytesOfOtherSectionsDoNotHideTheProgramsOwn) {
    std::string bytes = "[eye]\r\nLeft=123\r\nLineMax=3\r\n[btn2]\r\npg=C:\\two.exe\r\n";
    const std::string filler = "[other]\r\nkey=" + std::string(1000, 'z') + "\r\n";
    while (bytes.size() < 10u * 1024 * 1024)
        bytes += filler;
    TpamuF* mascot = StartOn(bytes);
    EXPECT_EQ(mascot->Left(), 123);
    EXPECT_EQ(mascot->Options().LineMax, 3);
    EXPECT_EQ(BtnF1->Records[2].Program, L"C:\\two.exe");
    Quit(mascot);
    EXPECT_EQ(ReadBack(L"btn2", L"pg"), L"C:\\two.exe");
}

TEST_F(DamagedSettingsTest, AGiantValueIsCutAt2047CharactersAndNothingElseSuffers) {
    TpamuF* mascot =
        StartOn("[btn1]\r\npg=" + std::string(100000, 'p') + "\r\nlb=next\r\n[eye]\r\nTop=44\r\n");
    EXPECT_EQ(BtnF1->Records[1].Program, std::wstring(2047, L'p'));
    EXPECT_EQ(BtnF1->Records[1].Hint, L"next");
    EXPECT_EQ(mascot->Top(), 44);
    Quit(mascot);
    EXPECT_EQ(ReadBack(L"btn1", L"pg"), std::wstring(2047, L'p'));
}

TEST_F(DamagedSettingsTest, TwiceWrittenSectionsAndKeysAndAButtonThatDoesNotExist) {
    TpamuF* mascot = StartOn("[eye]\r\nLeft=10\r\nLeft=20\r\n[btn31]\r\npg=C:\\none.exe\r\n"
                             "[eye]\r\nTop=30\r\n[btn3]\r\npg=C:\\three.exe\r\n[btn3]\r\nlb=three\r\n");
    EXPECT_EQ(mascot->Left(), 10); // the first of two keys
    EXPECT_EQ(BtnF1->Records[3].Program, L"C:\\three.exe");
    for (int n = 1; n <= 30; ++n) {
        if (n != 3) {
            EXPECT_FALSE(BtnF1->Records[n].Assigned()) << n;
        }
    }
    Quit(mascot);
    EXPECT_EQ(ReadBack(L"btn3", L"pg"), L"C:\\three.exe");
}

TEST_F(DamagedSettingsTest, OldMacLineEndsAreReadAsLineEnds) {
    TpamuF* mascot = StartOn("[eye]\rLeft=77\rTop=88\r[btn1]\rpg=C:\\one.exe\r");
    // A lone CR ends a line for the profile functions too.
    EXPECT_EQ(mascot->Left(), 77);
    EXPECT_EQ(mascot->Top(), 88);
    EXPECT_EQ(BtnF1->Records[1].Program, L"C:\\one.exe");
    Quit(mascot);
    EXPECT_EQ(ReadBack(L"eye", L"Left"), std::to_wstring(mascot->Left()));
}

TEST_F(DamagedSettingsTest, AUtf16FileWithItsByteOrderMarkIsReadAndStaysUtf16) {
    const std::wstring text =
        L"[eye]\r\nLeft=321\r\nColor=clRed\r\n[btn5]\r\npg=C:\\メモ\\日記.exe\r\nlb=日記\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    TpamuF* mascot = StartOn(bytes);
    EXPECT_EQ(mascot->Left(), 321);
    EXPECT_EQ(mascot->Options().Color, clRed);
    EXPECT_EQ(BtnF1->Records[5].Program, L"C:\\メモ\\日記.exe");
    EXPECT_EQ(BtnF1->Records[5].Hint, L"日記");
    Quit(mascot);
    const std::string after = ReadFileBytes(SettingsPath());
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(after.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadBack(L"btn5", L"lb"), L"日記");
}

namespace {

// A disk with little room left: tests/smalldisk/small_disk_test.sh mounts one and names it.
class SmallDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        const wchar_t* disk = _wgetenv(L"PMRUN_SMALL_DISK");
        if (!disk || !*disk) GTEST_SKIP() << "needs the small disk of tests/smalldisk/small_disk_test.sh";
        folder_ = disk;
    }
    std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }
    // Fills the disk until about room bytes are left.
    void LeaveRoom(ULONGLONG room) {
        ULARGE_INTEGER free{};
        ASSERT_TRUE(GetDiskFreeSpaceExW(folder_.c_str(), &free, nullptr, nullptr));
        ASSERT_GT(free.QuadPart, room);
        WriteFileBytes(Path(L"filler"), std::string(static_cast<std::size_t>(free.QuadPart - room), 'f'));
    }
    std::wstring folder_;
};

// Twenty-nine buttons with long paths: about 20 KB in the code page, twice that in UTF-16.
std::string TwentyNineButtons() {
    std::wstring text = L"[eye]\r\nLeft=10\r\n";
    for (int n = 1; n <= 29; ++n) {
        const std::wstring folder = L"C:\\ツール\\" + std::wstring(300, L'x') + std::to_wstring(n) + L"\\";
        text += L"[btn" + std::to_wstring(n) + L"]\r\npg=" + folder + L"tool.exe\r\nic=" + folder +
                L"tool.exe\r\nicidx=0\r\ndr=" + folder + L"\r\nlb=ツール" + std::to_wstring(n) + L"\r\nop=\r\n";
    }
    return ToAnsi(text);
}

} // namespace

TEST_F(SmallDiskTest, AValueOutsideTheCodePageNeverCutsTheOnlyWholeSettingsShort) {
    // The whole settings in the copy a replace left alone, or in the file when no copy fits beside it.
    for (const wchar_t* whole : {L"pmrun.Ini.saving", L"pmrun.Ini"}) {
        SCOPED_TRACE(ToAnsi(whole));
        const std::string settings = TwentyNineButtons();
        WriteFileBytes(Path(whole), settings);
        LeaveRoom(8 * 1024);
        Launcher launcher(Path(L"pmrun.Ini"));
        ASSERT_TRUE(launcher.ReadButtons());
        ButtonRecord dropped;
        dropped.Program = L"C:\\Zoë한.exe";
        launcher.SetButton(30, dropped);
        EXPECT_THROW(launcher.SaveButtons({30}), EIniFileException);
        EXPECT_EQ(ReadFileBytes(Path(whole)), settings);
        EXPECT_EQ(launcher.Button(30).Program, L"C:\\Zoë한.exe"); // the running program keeps it
        // Nothing else is left beside it.
        for (const wchar_t* name : {L"pmrun.Ini", L"pmrun.Ini.saving", L"pmrun.Ini.unicode", L"pmrun.Ini.saving.unicode"})
            if (std::wstring(name) != whole) {
                EXPECT_EQ(GetFileAttributesW(Path(name).c_str()), INVALID_FILE_ATTRIBUTES) << ToAnsi(name);
            }
        DeleteFileW(Path(L"filler").c_str());
        DeleteFileW(Path(whole).c_str());
    }
}
