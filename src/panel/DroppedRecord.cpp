#include "panel/DroppedRecord.h"

#include "base/ComPtr.h"
#include "base/Exception.h"
#include "base/Handles.h"
#include "base/PathParts.h"
#include "base/TextRules.h"
#include "components/ExitWin32.h"
#include "components/FmxUtils.h"

#include <shlobj.h>

namespace {

std::wstring SystemErrorText(HRESULT hr) {
    base::UniqueLocalMem<wchar_t> text;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is where the call puts its allocation.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
    std::wstring message = length ? std::wstring(text.get(), length) : L"ショートカットを読めません";
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}

void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw Exception(SystemErrorText(hr), static_cast<std::uint32_t>(hr));
}

// The 8.3 form of an existing path; the path as it is when the file system has no short form for it.
std::wstring ShortPath(const std::wstring& path) {
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) return path;
    std::wstring shortPath(length, L'\0');
    const DWORD copied = GetShortPathNameW(path.c_str(), shortPath.data(), length);
    if (copied == 0 || copied >= length) return path;
    shortPath.resize(copied);
    return shortPath;
}

// The target of a shortcut file, in its short form. Throws when the link cannot be read or points at
// something that is no file or folder.
std::wstring ResolveShortcut(const std::wstring& link) {
    base::ComPtr<IShellLinkW> shellLink;
    const auto [linkIid, linkOut] = shellLink.put_iid();
    ThrowIfFailed(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, linkIid, linkOut));
    base::ComPtr<IPersistFile> file;
    const auto [fileIid, fileOut] = file.put_iid();
    ThrowIfFailed(shellLink->QueryInterface(fileIid, fileOut));
    ThrowIfFailed(file->Load(link.c_str(), STGM_READ));
    // A buffer for any path; the link reports what fits.
    std::wstring target(32768, L'\0');
    const HRESULT hr =
        shellLink->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_SHORTPATH);
    ThrowIfFailed(hr);
    target.resize(target.find(L'\0'));
    if (hr == S_FALSE || target.empty()) throw Exception(L"ショートカットのリンク先がファイルではありません");
    // Not every system honours SLGP_SHORTPATH.
    return ShortPath(target);
}

bool IsWindowsXP() {
    const OSVERSIONINFOW& version = TExitWin::OsVersion();
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 &&
           version.dwMinorVersion == 1;
}

} // namespace

DroppedRecords ReadDropped(const std::wstring& dropped) {
    DroppedRecords made;
    try {
        const std::wstring program =
            SameTextIgnoringAsciiCase(ExtractFileExt(dropped), L".LNK") ? ResolveShortcut(dropped) : dropped;
        ButtonRecord& record = made.file;
        record.Program = program;
        record.IconFile =
            SameTextIgnoringAsciiCase(ExtractFileExt(program), L".EXE") ? program : FindExecutableFor(program);
        if (IconCount(record.IconFile) == 0) record.IconFile = SystemDirectory() + L"\\Shell32.dll";
        record.IconIndex = 0;
        record.WorkFolder = ExtractFilePath(program);
        record.Hint = FileNameWithoutExt(program);
        if (DirectoryExists(program)) {
            // A folder opens as an Explorer window on it.
            ButtonRecord folder = record;
            folder.Options = IsWindowsXP() ? program : L"/c /root," + program;
            folder.WorkFolder.clear();
            folder.Hint = program;
            folder.Program = WindowsDirectory() + L"\\Explorer.exe";
            folder.IconFile = SystemDirectory() + L"\\Shell32.dll";
            folder.IconIndex = 3;
            made.folder = std::move(folder);
        }
    } catch (const Exception& e) {
        made.error = e.Message();
        made.systemError = e.SystemError();
    }
    return made;
}

