#pragma once
// Writes or deletes a shell shortcut (.lnk) in one of the user's shell folders: the program uses it to
// start with Windows, from the Startup folder.
// https://learn.microsoft.com/windows/win32/shell/links

#include "base/Exception.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

// A COM call that failed, with its result code (also its SystemError()).
class EOleSysError : public Exception {
public:
    explicit EOleSysError(HRESULT result);
    HRESULT ErrorCode() const { return static_cast<HRESULT>(SystemError()); }
};

enum class TShowMode { tsNormal, tsMax, tsMin };
enum class TSysPath { tpBlank, tpDesktop, tpStartMenu, tpStartup };

// The calls that find the folders and make the link object, replaceable so that tests can make them fail.
struct MakeShortCutPlatform {
    HRESULT(WINAPI* CreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = ::CoCreateInstance;
    HRESULT(WINAPI* KnownFolderPath)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*) = ::SHGetKnownFolderPath;
};

class TMakeShortCut {
public:
    std::wstring SCFileName;
    TShowMode SCShowCmd = TShowMode::tsNormal;
    std::wstring SCDescription;
    std::wstring SCExecFile;
    std::wstring SCArguments;
    std::wstring SCWorkDir;
    TSysPath SCSystemPath = TSysPath::tpBlank;

    // Writes the shortcut, replacing a file of that name. EOleSysError when the link object cannot be made;
    // a file that cannot be saved is not reported. Without a folder to put it in, nothing is written.
    void CreateShortCut();
    // Deletes the shortcut; a missing file, or no folder found, is no error.
    void DeleteShortCut();

    // Where the shortcut goes: the shell folder (from the shell, or else from the registry value the
    // Explorer keeps) and the file name; the file name alone for tpBlank. Empty when the folder cannot be
    // found, so that nothing lands anywhere else (such as a drive's root).
    std::optional<std::wstring> ShortCutPath() const;

    // SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE, or SW_SHOW for anything else.
    static int ShowCommand(TShowMode mode);
    static MakeShortCutPlatform& Platform();
};
