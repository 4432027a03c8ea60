#pragma once
// What the tests need to prepare and read settings files: raw bytes in the system code page, the keys
// in file order, and the complete layout that quitting writes.

#include <string>
#include <vector>

namespace testfiles {

struct IniKey {
    std::string section;
    std::string key;
    std::string value;
};

std::vector<IniKey> ParseIni(const std::string& bytes);
// The value of a key, or "<missing>".
std::string ValueOf(const std::vector<IniKey>& keys, const std::string& section, const std::string& key);
// "section.key" for each key, in file order.
std::vector<std::string> KeyOrder(const std::vector<IniKey>& keys);
std::vector<std::string> Sorted(std::vector<std::string> keys);
// Every key of a file made by quitting, in the order the writers append them.
std::vector<std::string> CompleteLayout();

// The system code page, as the profile functions write it.
std::string ToAnsi(const std::wstring& text);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Empty when the file cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// One start of the launch probe (tests/support/launch_probe.cpp) as it logged it beside itself.
struct ProbeStart {
    std::wstring commandLine;
    std::wstring folder;
};
std::vector<ProbeStart> ProbeStarts(const std::wstring& probePath);

} // namespace testfiles
