#pragma once
// Starting a file through the shell, and the file test that comes before it.

#include <windows.h>

#include <string>

// True when a file (not a folder) exists at path; paths longer than MAX_PATH are tested too.
bool FileExists(const std::wstring& path);

// Opens the file with its default verb, the application's main window as owner. The texts go to the shell
// whole, whatever their length. Returns what ShellExecute returns (greater than 32 on success).
HINSTANCE LaunchFile(const std::wstring& fileName, const std::wstring& params, const std::wstring& defaultDir,
                     int showCmd);
