#include "WinTestSupport.h"

#include "settings/IniValues.h"

namespace wintest {

void Pump(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring SettingsPath() {
    return SettingsPathFor(ui::Application::ExeName());
}

void DeleteSettings() {
    std::wstring path = SettingsPath();
    // A folder put there by a test that makes the file unwritable.
    RemoveDirectoryW(path.c_str());
    DeleteFileW(path.c_str());
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder) + name;
}

void AppTest::SetUp() {
    DeleteSettings();
    app = std::make_unique<ui::Application>();
    app->Initialize();
    app->SetTitle(L"ぱむぱむランチ");
    app->OnException = [this](const std::wstring& message) { errors.push_back(message); };
}

TpamuF* AppTest::StartProgram(const std::wstring& ini) {
    if (!ini.empty()) WriteFileBytes(SettingsPath(), ToAnsi(ini));
    return app->CreateForm<TpamuF>();
}

void AppTest::TearDown() {
    app.reset();
    // A closed main form leaves WM_QUIT behind; the next test starts with an empty queue.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    DeleteSettings();
}

} // namespace wintest
