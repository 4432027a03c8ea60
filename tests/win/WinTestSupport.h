#pragma once
// Shared by the in-process tests: one application object per test, message pumping, files.

#include "IniFiles.h"
#include "app/Program.h"
#include "mascot/eye1.h"
#include "panel/Btn.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/ImageList.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wintest {

using namespace testfiles;

// Handles messages until the condition holds or the time is up; returns the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
// Handles messages until a timer of this thread, started now, has ticked that often: the loop has then run
// that many periods, and timers come after every message posted before them.
bool PumpTicks(int ticks, std::chrono::milliseconds period);

// Counts the messages of a window of this thread that match, while the watch lives.
class MessageWatch {
public:
    using Match = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;
    MessageWatch(HWND window, Match match);
    ~MessageWatch();
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self);
    HWND window_;
    Match match_;
    int count_ = 0;
};

// The settings file the program under test uses: beside this test executable.
std::wstring SettingsPath();
void DeleteSettings();
std::wstring TempPath(const std::wstring& name);

// The pixels of one image of an image list, drawn on a grey ground.
std::vector<COLORREF> ImagePixels(const ui::ImageList& list, int index);
bool AllGrey(const std::vector<COLORREF>& pixels);
// The picture of the panel's image index, once every icon asked for has arrived (empty if they never do).
std::vector<COLORREF> PanelImage(const TBtnF1& panel, int index);

// A plain form for the toolkit's own tests.
class TestForm : public ui::Form {
public:
    explicit TestForm(const ui::FormParams& params) : ui::Form(params) {}
    using ui::Form::DoCreate;
};
// A captioned form at 50, 60 of the given size.
ui::FormParams Params(int width = 300, int height = 200);

// Each test gets its own application object, with errors collected instead of shown.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes the settings file (when given), creates the mascot and runs the steps that follow its showing
    // (the panel, the tray icon), as the program entry does; the mascot itself stays hidden.
    TpamuF* StartProgram(const std::wstring& ini = L"");
    // Puts the model in a mode as the menu or the options dialog would, without their windows.
    void SetEditMode(EditState mode);
    // Changes options through the model, as the options dialog does.
    void ChangeOptions(const std::function<void(EyeOptions&)>& change);
    // A copy of the launch probe by that name in the temporary folder, with no log yet; it, its log and
    // the programs it started go when the test ends.
    std::wstring Probe(const std::wstring& name);
    // Declared before the application, which it outlives as in the program.
    Program program{SettingsPath()};
    Launcher* const launcher = &program.Model();
    std::unique_ptr<ui::Application> app;
    // The forms and the settings dialog as the program holds them.
    TpamuF* const& pamuF = program.Mascot();
    TBtnF1* const& BtnF1 = program.Panel();
    TBtnSetF* const& BtnSetF = program.Settings().Dialog();
    std::vector<std::wstring> errors;

private:
    std::vector<std::wstring> probes_;
};

} // namespace wintest
