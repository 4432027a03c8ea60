// The version resource read through the real version functions: this test program links the same
// resource script as pmrun.exe, so its own file carries the program's version.

#include "WinTestSupport.h"

#include "components/VerInfo.h"
#include "components/VersionParts.h"
#include "ui/Application.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

namespace {

const std::wstring kVerInfoError = L"バージョン情報が取得できません.";

std::uint32_t reason = 0; // the system's reason the last EVerInfo kept
// The message of the EVerInfo the action raises; none when it returns normally.
template <typename Action> std::optional<std::wstring> VerInfoError(Action action) {
    try {
        action();
    } catch (const EVerInfo& e) {
        reason = e.SystemError();
        return e.Message();
    }
    return std::nullopt;
}

// A file in the temporary folder, removed again at the end of the test.
class TempFile {
public:
    TempFile(const std::wstring& name, const std::string& content) : path_(wintest::TempPath(name)) {
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        EXPECT_EQ(written, content.size());
    }
    ~TempFile() { DeleteFileW(path_.c_str()); }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

} // namespace

TEST(VerInfo, OwnExecutableCarriesTheProgramsTranslationAndVersion) {
    TVerInfo info(ui::Application::ExeName());
    EXPECT_EQ(info.Language, L"0411");
    EXPECT_EQ(info.CodePage, L"03A4");
    EXPECT_GT(info.BlockSize, 0);
    EXPECT_EQ(info.Block.size(), static_cast<std::size_t>(info.BlockSize));

    EXPECT_EQ(info.GetFileVersion(), L"2.0.4.0");
    EXPECT_EQ(info.MajorVersion(), L"2");
    EXPECT_EQ(info.MinorVersion(), L"0");
    EXPECT_EQ(info.ReleaseVersion(), L"4");
    EXPECT_EQ(VersionText(info.GetFileVersion()), L"Ver 2.04");
}

TEST(VerInfo, QueryStringReadsAnyValueOfTheStringTable) {
    TVerInfo info(ui::Application::ExeName());
    const std::wstring table = L"\\StringFileInfo\\" + info.Language + info.CodePage + L"\\";
    EXPECT_EQ(info.QueryString(table + L"ProductVersion"), L"2.04");
    EXPECT_EQ(info.QueryString(table + L"FileDescription"), L"ぱむぱむランチ");

    // The last value found stays inside the block that was read.
    const auto* begin = info.Block.data();
    const auto* value = static_cast<const BYTE*>(info.ValuePtr);
    EXPECT_GE(value, begin);
    EXPECT_LT(value, begin + info.Block.size());
    EXPECT_GE(info.ValueLen, 7u);
}

TEST(VerInfo, KeyThatDoesNotExistIsTheVersionError) {
    TVerInfo info(ui::Application::ExeName());
    EXPECT_EQ(VerInfoError([&] { info.QueryString(L"\\StringFileInfo\\041103A4\\NoSuchValue"); }),
              kVerInfoError);
    EXPECT_EQ(VerInfoError([&] { info.QueryString(L"\\StringFileInfo\\040904B0\\FileVersion"); }),
              kVerInfoError);
    // A failed query leaves the component usable.
    EXPECT_EQ(info.GetFileVersion(), L"2.0.4.0");
}

TEST(VerInfo, FileWithoutVersionResourceIsTheVersionError) {
    TempFile text(L"pmrun_verinfo_test.txt", "no version here\r\n");
    EXPECT_EQ(VerInfoError([&] { TVerInfo info(text.Path()); }), kVerInfoError);

    TempFile tiny(L"pmrun_verinfo_test.exe", "MZ");
    EXPECT_EQ(VerInfoError([&] { TVerInfo info(tiny.Path()); }), kVerInfoError);
}

TEST(VerInfo, MissingFileIsTheVersionError) {
    std::wstring missing = wintest::TempPath(L"pmrun_verinfo_no_such_file.exe");
    DeleteFileW(missing.c_str());
    EXPECT_EQ(VerInfoError([&] { TVerInfo info(missing); }), kVerInfoError);
    EXPECT_EQ(reason, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}
