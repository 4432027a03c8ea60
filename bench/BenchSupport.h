#pragma once
// Shared by the benchmarks: programs started from a folder of their own, their windows, medians.

#include "Programs.h"

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

using testfiles::DeleteFolder;
using testfiles::ExeFolder;

// A fresh folder under the temporary folder.
std::wstring FreshFolder(const std::wstring& name);
double Median(std::vector<double> values);
double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to);
LARGE_INTEGER Now();

// A program copied into a folder and started there; ended and cleaned up by Stop().
struct Started {
    PROCESS_INFORMATION process{};
    std::wstring folder;
    std::wstring exe;
};
// Copies source into folder and starts it with the given arguments; false if it cannot.
bool StartCopy(const std::wstring& source, const std::wstring& folder, const std::wstring& arguments,
               Started& started);
void Stop(Started& started);
// A visible top-level window of the process (of the class, when given), waiting up to timeoutMs.
HWND WaitForVisibleWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs);
void WriteText(const std::wstring& path, const std::string& bytes);
// One row of the summary scripts/bench prints after all benchmarks: what, both figures in the unit, the
// ratio pmrun / baseline and whether it is within the aim of 1.2x.
void TableRow(const char* what, double baseline, double pmrun, const char* unit);

} // namespace bench
