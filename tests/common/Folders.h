#pragma once
// Folders the tests and benchmarks use: their own, and temporary ones they remove again.

#include <string>

namespace testfiles {

// The folder of the running executable, where pmrun.exe and the helper programs are built.
std::wstring ExeFolder();
// Removes a folder with everything in it; nothing happens when it does not exist.
void DeleteFolder(const std::wstring& folder);

} // namespace testfiles
