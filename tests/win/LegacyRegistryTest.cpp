// The import from the older registry store, with real keys in the test prefix's registry.

#include "WinTestSupport.h"

#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "settings/LegacyRegistry.h"

using wintest::ParseIni;
using wintest::ReadFileBytes;
using wintest::SettingsPath;

namespace {

const wchar_t* const kRoot = L"Software\\Hoshiya";

// Any data under any type, as the older program or a damaged registry may have left it.
void SetRaw(const std::wstring& key, const wchar_t* name, DWORD type, const std::string& bytes) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(k);
}

void SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) {
    const auto* bytes = reinterpret_cast<const char*>(value.c_str());
    SetRaw(key, name, type, std::string(bytes, (value.size() + 1) * sizeof(wchar_t)));
}

void SetDword(const std::wstring& key, const wchar_t* name, DWORD value) {
    SetRaw(key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof(value)));
}

// Buttons 3 and 7 only, the panel's bounds, and values of the wrong type.
void WriteLegacyStore() {
    const std::wstring base = L"Software\\Hoshiya\\pmrun\\";
    SetDword(base + L"btnform", L"left", 300);
    SetDword(base + L"btnform", L"top", 200);
    SetText(base + L"btnform", L"width", L"not a number"); // wrong type: the default 50
    SetDword(base + L"btnform", L"height", 150);

    SetText(base + L"btn3", L"pg", L"C:\\Program Files\\エディタ\\edit.exe");
    SetText(base + L"btn3", L"ic", L"C:\\icons.dll");
    SetDword(base + L"btn3", L"icidx", 4);
    SetText(base + L"btn3", L"op", L"-n \"file name\"");
    SetText(base + L"btn3", L"dr", L"%SystemRoot%\\", REG_EXPAND_SZ); // taken literally
    SetText(base + L"btn3", L"lb", L"エディタ");

    SetText(base + L"btn7", L"pg", L"D:\\" + std::wstring(400, L'p') + L".exe");
    SetText(base + L"btn7", L"icidx", L"2"); // wrong type: 0
    SetDword(base + L"btn7", L"lb", 99);     // wrong type: empty
}

class LegacyRegistryTest : public wintest::AppTest {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
        AppTest::SetUp();
    }
    void TearDown() override {
        AppTest::TearDown();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    }
};

} // namespace

TEST_F(LegacyRegistryTest, MissingKeysReadAsAbsent) {
    EXPECT_FALSE(ReadLegacyPanelBounds().has_value());
    EXPECT_FALSE(ReadLegacyButton(1).has_value());
}

TEST_F(LegacyRegistryTest, ValuesOfTheWrongTypeReadAsTheirDefaults) {
    WriteLegacyStore();
    auto bounds = ReadLegacyPanelBounds();
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(bounds->left, 300);
    EXPECT_EQ(bounds->top, 200);
    EXPECT_EQ(bounds->width, 50);
    EXPECT_EQ(bounds->height, 150);

    auto b7 = ReadLegacyButton(7);
    ASSERT_TRUE(b7.has_value());
    EXPECT_EQ(b7->Program, L"D:\\" + std::wstring(400, L'p') + L".exe"); // no length limit
    EXPECT_EQ(b7->IconIndex, 0);
    EXPECT_EQ(b7->Hint, L"");
    EXPECT_EQ(b7->IconFile, L"");
}

TEST_F(LegacyRegistryTest, EveryOtherTypeAndMisshapenDataReadAsTheDefaults) {
    const std::wstring button = L"Software\\Hoshiya\\pmrun\\btn2";
    const std::string eightBytes("\x05\0\0\0\0\0\0\0", 8);
    struct Raw {
        DWORD type;
        std::string bytes;
    };
    const Raw wrong[] = {
        {REG_NONE, "abc"},
        {REG_BINARY, std::string(100000, '\xff')},
        {REG_QWORD, eightBytes},
        {REG_MULTI_SZ, std::string("a\0\0b\0\0\0\0", 8)},
        {REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x05", 4)},
        {REG_LINK, "x\0"},
        {REG_RESOURCE_LIST, std::string(3, '\0')},
        {0x7fff, "?"}, // no type Windows knows
    };
    for (const Raw& raw : wrong) {
        SCOPED_TRACE("type " + std::to_string(raw.type));
        for (const wchar_t* name : {L"pg", L"ic", L"op", L"dr", L"lb", L"icidx"})
            SetRaw(button, name, raw.type, raw.bytes);
        const auto record = ReadLegacyButton(2);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->Program, L"");
        EXPECT_EQ(record->IconFile, L"");
        EXPECT_EQ(record->Options, L"");
        EXPECT_EQ(record->WorkFolder, L"");
        EXPECT_EQ(record->Hint, L"");
        EXPECT_EQ(record->IconIndex, 0);
    }

    // A DWORD of the wrong size, and texts cut off without their terminator or at an odd byte.
    SetRaw(button, L"icidx", REG_DWORD, std::string("\x07\0", 2));
    SetRaw(button, L"pg", REG_SZ, std::string("C\0:\0\\\0x\0", 8));
    SetRaw(button, L"lb", REG_SZ, std::string("a\0b", 3));
    SetRaw(button, L"op", REG_SZ, std::string());
    const auto record = ReadLegacyButton(2);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->IconIndex, 0);
    EXPECT_EQ(record->Program, L"C:\\x");
    EXPECT_EQ(record->Hint.substr(0, 1), L"a");
    EXPECT_LE(record->Hint.size(), 2u);
    EXPECT_EQ(record->Options, L"");
}

TEST_F(LegacyRegistryTest, WithoutSettingsFileTheButtonsAndBoundsAreImported) {
    WriteLegacyStore();
    StartProgram();
    ASSERT_NE(BtnF1, nullptr);
    const ButtonRecord& b3 = BtnF1->Records[3];
    EXPECT_EQ(b3.Program, L"C:\\Program Files\\エディタ\\edit.exe");
    EXPECT_EQ(b3.IconFile, L"C:\\icons.dll");
    EXPECT_EQ(b3.IconIndex, 4);
    EXPECT_EQ(b3.Options, L"-n \"file name\"");
    EXPECT_EQ(b3.WorkFolder, L"%SystemRoot%\\");
    EXPECT_EQ(b3.Hint, L"エディタ");
    EXPECT_EQ(BtnF1->Buttons[3]->Hint(), L"エディタ");
    EXPECT_TRUE(BtnF1->Records[7].Assigned());
    for (int n = 1; n <= 30; ++n) {
        if (n == 3 || n == 7) continue;
        EXPECT_FALSE(BtnF1->Records[n].Assigned()) << n;
    }
    EXPECT_EQ(BtnF1->Left(), 300);
    EXPECT_EQ(BtnF1->Top(), 200);
    // The import writes nothing.
    EXPECT_EQ(GetFileAttributesW(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(errors.empty());
}

TEST_F(LegacyRegistryTest, ImportRepeatsUntilQuittingWritesTheFileThenTheRegistryIsNotRead) {
    WriteLegacyStore();
    StartProgram();
    app.reset(); // ended without quitting: nothing written
    app = std::make_unique<ui::Application>();
    app->OnException = [this](const std::wstring& m) { errors.push_back(m); };
    auto* mascot = StartProgram();
    EXPECT_EQ(BtnF1->Records[3].Hint, L"エディタ");
    mascot->Close();

    auto keys = ParseIni(ReadFileBytes(SettingsPath()));
    int sections = 0;
    for (const auto& k : keys)
        if (k.key == "pg") ++sections;
    EXPECT_EQ(sections, 30);

    // Changed in the registry now: the file is read instead.
    SetText(L"Software\\Hoshiya\\pmrun\\btn3", L"lb", L"changed");
    app.reset();
    app = std::make_unique<ui::Application>();
    StartProgram();
    EXPECT_EQ(BtnF1->Records[3].Hint, L"エディタ");
}
