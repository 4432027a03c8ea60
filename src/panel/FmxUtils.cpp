#include "panel/FmxUtils.h"

#include "ui/Application.h"
#include "ui/Form.h"

#include <shellapi.h>

namespace {

// "\\?\" lifts the MAX_PATH limit of the file functions for absolute paths.
std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
    const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    if (drive) return L"\\\\?\\" + path;
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HINSTANCE LaunchFile(const std::wstring& fileName, const std::wstring& params, const std::wstring& defaultDir,
                     int showCmd) {
    HWND owner = nullptr;
    if (auto* app = ui::Application::TryInstance(); app && app->MainForm()) owner = app->MainForm()->Handle();
    return ShellExecuteW(owner, nullptr, fileName.c_str(), OrNull(params), OrNull(defaultDir), showCmd);
}
