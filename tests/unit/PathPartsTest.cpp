// Path parts and the letters-only upper case, as the drop and the settings dialog use them.

#include "base/PathParts.h"
#include "base/TextRules.h"
#include "ui/SpinRule.h"

#include <gtest/gtest.h>

TEST(PathParts, ExtensionIsAfterTheLastDotOfTheName) {
    EXPECT_EQ(ExtractFileExt(L"C:\\Tools\\Editor.exe"), L".exe");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\archive.tar.gz"), L".gz");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\README"), L""); // the dot is in a folder name
    EXPECT_EQ(ExtractFileExt(L"C:.profile"), L".profile");
    EXPECT_EQ(ExtractFileExt(L"D:x.y:z"), L""); // a ":" after the dot ends the name there
    EXPECT_EQ(ExtractFileExt(L"name."), L".");
    EXPECT_EQ(ExtractFileExt(L""), L"");
}

TEST(PathParts, FolderKeepsItsBackslashAndNameIsTheRest) {
    EXPECT_EQ(ExtractFilePath(L"C:\\Tools\\Editor.exe"), L"C:\\Tools\\");
    EXPECT_EQ(ExtractFileName(L"C:\\Tools\\Editor.exe"), L"Editor.exe");
    EXPECT_EQ(ExtractFilePath(L"C:Editor.exe"), L"C:");
    EXPECT_EQ(ExtractFilePath(L"Editor.exe"), L"");
    EXPECT_EQ(ExtractFilePath(L"\\\\server\\share\\"), L"\\\\server\\share\\");
    EXPECT_EQ(ExtractFileName(L"\\\\server\\share\\"), L"");
}

TEST(PathParts, PlaceIsTheDriveOrTheShare) {
    EXPECT_EQ(PlaceOfPath(L"c:\\Tools\\Editor.exe"), L"C:");
    EXPECT_EQ(PlaceOfPath(L"Z:relative.txt"), L"Z:");
    EXPECT_EQ(PlaceOfPath(L"\\\\fileserver\\Tools\\bin\\a.exe"), L"\\\\FILESERVER\\TOOLS");
    EXPECT_EQ(PlaceOfPath(L"\\\\server\\share"), L"\\\\SERVER\\SHARE");
    EXPECT_EQ(PlaceOfPath(L"\\\\?\\d:\\very\\long"), L"D:");
    EXPECT_EQ(PlaceOfPath(L"\\\\?\\UNC\\server\\share\\x"), L"\\\\SERVER\\SHARE");
    // Nothing that names a drive or a share: one place of its own.
    for (const wchar_t* none :
         {L"", L"Editor.exe", L"\\Tools\\a.exe", L"\\\\server", L"\\\\server\\", L"\\\\\\share", L"1:\\x"})
        EXPECT_EQ(PlaceOfPath(none), L"") << none;
}

TEST(PathParts, NameWithoutExtension) {
    EXPECT_EQ(FileNameWithoutExt(L"C:\\Tools\\Editor.exe"), L"Editor");
    EXPECT_EQ(FileNameWithoutExt(L"C:\\PROGRA~1\\EDITOR~1.EXE"), L"EDITOR~1");
    EXPECT_EQ(FileNameWithoutExt(L"C:\\a.b\\archive.tar.gz"), L"archive.tar");
    EXPECT_EQ(FileNameWithoutExt(L"C:\\a.b\\README"), L"README");
    EXPECT_EQ(FileNameWithoutExt(L"C:\\メモ\\日記.txt"), L"日記");
    EXPECT_EQ(FileNameWithoutExt(L"C:\\Data"), L"Data");
}

TEST(PathParts, UpperCaseTouchesOnlyAtoZ) {
    EXPECT_EQ(UpperAscii(L".exe"), L".EXE");
    EXPECT_EQ(UpperAscii(L".Lnk"), L".LNK");
    EXPECT_EQ(UpperAscii(L"äöüｅｘｅ"), L"äöüｅｘｅ");
}

TEST(PathParts, SameTextIgnoresTheCaseOfAtoZOnly) {
    EXPECT_TRUE(SameTextIgnoringAsciiCase(L".lnk", L".LNK"));
    EXPECT_TRUE(SameTextIgnoringAsciiCase(L"clWindowText", L"CLWINDOWTEXT"));
    EXPECT_FALSE(SameTextIgnoringAsciiCase(L".lnk", L".lnk "));
    EXPECT_FALSE(SameTextIgnoringAsciiCase(L"ä", L"Ä"));
    EXPECT_FALSE(SameTextIgnoringAsciiCase(L"ｅｘｅ", L"ＥＸＥ"));
    // 0x20 apart like the letters, but no letters.
    EXPECT_FALSE(SameTextIgnoringAsciiCase(L"[@", L"{`"));
}

TEST(SpinRule, ValuesStayInTheRangeUnlessItIsOneNumber) {
    EXPECT_EQ(SpinValue(7, 1, 5), 5);
    EXPECT_EQ(SpinValue(-1, 1, 5), 1);
    EXPECT_EQ(SpinValue(0, 1, 5), 1);
    EXPECT_EQ(SpinValue(3, 1, 5), 3);
    EXPECT_EQ(SpinValue(7, 0, 0), 7); // equal bounds take any value
    EXPECT_EQ(SpinValue(-4, 2, 2), -4);
    EXPECT_EQ(SpinValueFromText(L"12", 1), 12);
    EXPECT_EQ(SpinValueFromText(L"-3", 1), -3);
    EXPECT_EQ(SpinValueFromText(L"", 4), 4);
    EXPECT_EQ(SpinValueFromText(L"1x", 4), 4);
    EXPECT_EQ(SpinValueFromText(L"99999999999", 2), 2);
}
