#include "IniFiles.h"

#include <windows.h>

#include <algorithm>
#include <sstream>

namespace testfiles {

std::vector<IniKey> ParseIni(const std::string& bytes) {
    std::vector<IniKey> keys;
    std::istringstream in(bytes);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        auto eq = line.find('=');
        if (eq != std::string::npos) keys.push_back({section, line.substr(0, eq), line.substr(eq + 1)});
    }
    return keys;
}

std::string ValueOf(const std::vector<IniKey>& keys, const std::string& section, const std::string& key) {
    for (const auto& k : keys)
        if (k.section == section && k.key == key) return k.value;
    return "<missing>";
}

std::vector<std::string> KeyOrder(const std::vector<IniKey>& keys) {
    std::vector<std::string> order;
    for (const auto& k : keys)
        order.push_back(k.section + "." + k.key);
    return order;
}

std::vector<std::string> Sorted(std::vector<std::string> keys) {
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<std::string> CompleteLayout() {
    std::vector<std::string> order;
    for (const char* key : {"Top", "Left", "Startup", "LineMax", "PamuHide", "TPamuHide", "HintPos", "TWall",
                            "BWall", "LWall", "RWall", "ApSc", "DApSc", "Color"})
        order.push_back(std::string("eye.") + key);
    for (const char* key : {"left", "top", "width", "height"})
        order.push_back(std::string("btnform.") + key);
    for (int n = 1; n <= 30; ++n)
        for (const char* key : {"pg", "ic", "icidx", "dr", "lb", "op"})
            order.push_back("btn" + std::to_string(n) + "." + key);
    return order;
}

std::string ToAnsi(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

namespace {
std::wstring FromUtf8(const std::string& bytes) {
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}
} // namespace

std::vector<ProbeStart> ProbeStarts(const std::wstring& probePath) {
    // With a path beyond MAX_PATH the log is reached through the extended-length prefix.
    std::wstring log = probePath + L".log";
    if (log.size() >= MAX_PATH) log = L"\\\\?\\" + log;
    const std::string bytes = ReadFileBytes(log);
    std::vector<ProbeStart> starts;
    for (std::size_t at = 0, end; (end = bytes.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = bytes.substr(at, end - at);
        const std::size_t tab = line.find('\t');
        starts.push_back({FromUtf8(line.substr(0, tab)),
                          tab == std::string::npos ? std::wstring() : FromUtf8(line.substr(tab + 1))});
    }
    return starts;
}

} // namespace testfiles
