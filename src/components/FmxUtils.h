#pragma once
// Starting a file through the shell, the file test that comes before it, and what the shell knows of a
// file: its icons and the program that opens it.

#include "base/Handles.h"
#include "base/WinUtil.h"

#include <windows.h>

#include <string>

// True when a file (not a folder) exists at path; paths longer than MAX_PATH are tested too.
bool FileExists(const std::wstring& path);
// True when a folder exists at path, at any length.
bool DirectoryExists(const std::wstring& path);
// The system folder and the Windows folder, without a final backslash.
using base::SystemDirectory;
using base::WindowsDirectory;

// Opens the file with its default verb, or with verb ("runas": elevated, Windows asking for consent); owner
// is the window any message of the shell belongs to (null for none). The texts go to the shell whole, whatever their length. The calling thread must have COM
// (apartment-threaded); it need not have a message loop, as the call returns only once the start is done
// (a DDE conversation included). A failure is shown by the shell itself, as Windows does.
struct LaunchResult {
    DWORD error = 0;     // 0 when the file was started, otherwise the system's error code
    DWORD processId = 0; // the process started for it, when the shell made one
};
LaunchResult LaunchFile(HWND owner, const std::wstring& fileName, const std::wstring& params,
                        const std::wstring& defaultDir, int showCmd, const wchar_t* verb = nullptr);

// False for an icon file whose directory reaches beyond the file, which the icon functions must not see.
bool IconFileSound(const std::wstring& file);
// The number of icons in a file (ExtractIcon with index -1): 0 for a file without icons or no file.
int IconCount(const std::wstring& file);
// Icon index of file, or empty when there is none.
// size 0 or 32 gives the file's standard large icon; another size is taken from the file at that
// size, not stretched.
base::UniqueHicon ExtractIconAt(const std::wstring& file, int index, int size = 0);
// The program that opens the document (FindExecutable, no default folder); empty when there is none.
std::wstring FindExecutableFor(const std::wstring& document);
