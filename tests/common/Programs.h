#pragma once
// Folders and windows the tests and benchmarks use: their own folder, temporary ones they remove
// again, and the top-level windows of the programs they start.

#include <windows.h>

#include <string>

namespace testfiles {

// The folder of the running executable, where pmrun.exe and the helper programs are built.
std::wstring ExeFolder();
// Removes a folder with everything in it; nothing happens when it does not exist.
void DeleteFolder(const std::wstring& folder);

// A top-level window of the process, of the class when one is given, visible when asked; null if none.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, bool visibleOnly);

// Whether a process that the given one started from a file of this name is running; true as well when the
// processes cannot be listed. A launch probe logs its start before it ends.
bool ChildRunning(DWORD parentPid, const std::wstring& fileName);

} // namespace testfiles
