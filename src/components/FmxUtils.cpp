#include "components/FmxUtils.h"

#include "components/IconFileRules.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace {

// "\\?\" lifts the MAX_PATH limit of the file functions for absolute paths.
std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
    const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    if (drive) return L"\\\\?\\" + path;
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LaunchResult LaunchFile(HWND owner, const std::wstring& fileName, const std::wstring& params,
                        const std::wstring& defaultDir, int showCmd, const wchar_t* verb) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The shell may finish a start on another thread, or through DDE, after the call returns; a thread
    // without a message loop must ask it to finish first, or a document opened through DDE may never
    // open. https://learn.microsoft.com/windows/win32/api/shellapi/ns-shellapi-shellexecuteinfow
    // The process, when there is one, so that it can be let to the front (see LaunchResult).
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.lpFile = fileName.c_str();
    info.lpParameters = OrNull(params);
    info.lpDirectory = OrNull(defaultDir);
    info.nShow = showCmd;
    if (!ShellExecuteExW(&info)) {
        const DWORD error = GetLastError();
        return {error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE};
    }
    const base::UniqueHandle process(info.hProcess);
    return {ERROR_SUCCESS, process ? GetProcessId(process.get()) : 0};
}

bool IconFileSound(const std::wstring& file) {
    base::UniqueFileHandle handle(CreateFileW(ExtendedLengthPath(file).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A file that cannot be read is left to the icon functions, which find no icon in it.
    if (!handle) return true;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle.get(), &size)) return true;
    auto read = [&](std::vector<std::uint8_t>& bytes) {
        DWORD got = 0;
        SetFilePointer(handle.get(), 0, nullptr, FILE_BEGIN);
        if (!ReadFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
        bytes.resize(got);
    };
    std::vector<std::uint8_t> head(6);
    read(head);
    const std::size_t needed = IconDirectoryBytesNeeded(head.data(), head.size());
    if (needed > head.size()) {
        head.resize(needed);
        read(head);
    }
    return IconDirectorySound(head.data(), head.size(), static_cast<std::uint64_t>(size.QuadPart));
}

int IconCount(const std::wstring& file) {
    // Wine reads a damaged icon directory past its end and crashes the program.
    if (!IconFileSound(file)) return 0;
    // With index -1 the "icon" is the number of icons, to be read as a signed number.
    const auto count = reinterpret_cast<INT_PTR>(
        ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(-1)));
    return static_cast<int>(count);
}

base::UniqueHicon ExtractIconAt(const std::wstring& file, int index, int size) {
    if (index < 0 || !IconFileSound(file)) return {};
    if (size > 0 && size != 32) {
        HICON sized = nullptr;
        const UINT sizes = MAKELONG(size, size);
        if (SHDefExtractIconW(file.c_str(), index, 0, &sized, nullptr, sizes) != S_OK) return {};
        return base::UniqueHicon(sized);
    }
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(index));
    // 1 means "not a file with icons".
    if (icon == nullptr || icon == reinterpret_cast<HICON>(1)) return {};
    return base::UniqueHicon(icon);
}

std::wstring FindExecutableFor(const std::wstring& document) {
    // The call writes at most MAX_PATH characters; the buffer is larger so nothing it returns is cut.
    std::wstring program(32768, L'\0');
    const auto result = reinterpret_cast<INT_PTR>(FindExecutableW(document.c_str(), nullptr, program.data()));
    if (result <= 32) return {};
    program.resize(program.find(L'\0'));
    return program;
}
