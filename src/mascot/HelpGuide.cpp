#include "mascot/HelpGuide.h"

#include "base/Exception.h"
#include "base/PathParts.h"
#include "components/FmxUtils.h"
#include "mascot/HelpRules.h"
#include "ui/Application.h"
#include "ui/Language.h"

#include <windows.h>
#include <shellapi.h>

std::function<bool(const std::wstring& path)> HelpGuide::Override;

void HelpGuide::Open(HWND owner) {
    auto& app = ui::Application::Instance();
    const std::wstring folder = ExtractFilePath(ui::Application::ExeName());
    // The help file's name may carry its own folder; a bare name is looked for beside the program.
    std::wstring helpFile = app.HelpFile;
    if (!helpFile.empty() && ExtractFilePath(helpFile).empty()) helpFile = folder + helpFile;
    const bool japanese = ui::ProgramLanguage() == ui::Language::Japanese;
    const HelpChoice choice = ChooseHelp(!helpFile.empty() && FileExists(helpFile), japanese);
    if (choice.helpEngine) {
        app.HelpCommand(HELP_FINDER, 0);
        return;
    }
    const std::wstring guide = folder + choice.guide;
    if (!FileExists(guide)) throw Exception(GuideMissingMessage(guide));
    bool opened;
    if (Override) {
        opened = Override(guide);
    } else {
        const auto result = ShellExecuteW(owner, L"open", guide.c_str(), nullptr,
                                          ExtractFilePath(guide).c_str(), SW_SHOWNORMAL);
        opened = reinterpret_cast<INT_PTR>(result) > 32;
    }
    if (!opened) throw Exception(L"ヘルプを開けません:\n" + guide);
}
