#pragma once
// Small reads from Windows that several layers need, each written once: a window's text, the system
// folders, registry strings, and the system's own case-blind comparison. Every one sizes its buffer from
// the call or grows and retries, so nothing is cut.

#include "base/Handles.h"

#include <windows.h>

#include <optional>
#include <string>

namespace base {

// The whole text of a window (a caption, or an edit's contents).
std::wstring WindowText(HWND window);

// The system folder and the Windows folder, without a final backslash; empty when the call fails.
std::wstring SystemDirectory();
std::wstring WindowsDirectory();
// The process's current folder; empty when the call fails.
std::wstring CurrentDirectory();

// Lets the message reach the window from processes of lower integrity too: a program run as administrator
// still hears Explorer (its drops, "TaskbarCreated").
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-changewindowmessagefilterex
void AllowMessageFromAnyProcess(HWND window, UINT message);
// Takes files dropped as WM_DROPFILES, from Explorer also when this program runs as administrator: the
// drop and the data it carries are let through.
void AcceptDroppedFiles(HWND window);
// Whether this process runs at a higher integrity level than the shell's (run as administrator with UAC
// on): OLE drag and drop from Explorer cannot reach it then, and a window registered for OLE drops gets
// no WM_DROPFILES either. When the shell's level cannot be read, this process's own token decides
// (AboveTheShell in base/IntegrityRules).
// https://learn.microsoft.com/windows/win32/secauthz/mandatory-integrity-control
bool RunsAboveShellIntegrity();

// Equal by the system's ordinal case mapping, which covers every Unicode letter (CompareStringOrdinal).
// For texts Windows gives us, such as class names and captions; name rules use SameTextIgnoringAsciiCase.
bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b);

// An existing key opened with the access asked for; empty when it cannot be opened. Never creates one.
UniqueHkey OpenRegistryKey(HKEY root, const std::wstring& path, REGSAM access);

struct RegistryString {
    std::wstring text;
    // REG_EXPAND_SZ: the text may hold %variables%, which are not expanded here.
    bool expandable = false;
};
// A REG_SZ or REG_EXPAND_SZ value of any length, up to its first null whether or not the stored data
// ends with one (a last odd byte is dropped); nullopt when the value is missing or of another type.
std::optional<RegistryString> ReadRegistryString(HKEY key, const wchar_t* name);

} // namespace base
