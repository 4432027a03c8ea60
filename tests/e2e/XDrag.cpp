#include "XDrag.h"

#include "IniFiles.h"

#include <cstdlib>

namespace e2e {

namespace {

// Wine's own conversions between its drive letters and the Unix file system.
using UnixNameOf = char*(CDECL*)(const wchar_t*);
using DosNameOf = wchar_t*(CDECL*)(const char*);

template <typename Function> Function WineFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

std::string UnixPath(const std::wstring& path) {
    auto convert = WineFunction<UnixNameOf>("wine_get_unix_file_name");
    if (!convert) return {};
    char* unix = convert(path.c_str());
    if (!unix) return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::wstring HelperFolder() {
    const char* folder = std::getenv("PMRUN_XDRAG_DIR");
    auto convert = WineFunction<DosNameOf>("wine_get_dos_file_name");
    if (!folder || !*folder || !convert) return {};
    wchar_t* dos = convert(folder);
    if (!dos) return {};
    std::wstring result = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Hands the request to the helper and waits for its answer; calls released once the drag lets go.
std::string Ask(const std::string& request, const std::function<void()>& released) {
    const std::wstring folder = HelperFolder();
    if (folder.empty()) return "no drag helper (PMRUN_XDRAG_DIR)";
    const std::wstring done = folder + L"\\done", releasedMark = folder + L"\\released";
    DeleteFileW(done.c_str());
    DeleteFileW(releasedMark.c_str());
    // Renamed into place, so that the helper never reads half a request.
    const std::wstring partial = folder + L"\\request.tmp";
    testfiles::WriteFileBytes(partial, request);
    if (!MoveFileExW(partial.c_str(), (folder + L"\\request").c_str(), MOVEFILE_REPLACE_EXISTING))
        return "the request could not be placed";

    const DWORD start = GetTickCount();
    bool releaseSeen = false;
    while (!Exists(done)) {
        if (!releaseSeen && Exists(releasedMark)) {
            releaseSeen = true;
            if (released) released();
        }
        if (GetTickCount() - start > 20000) return "the drag helper did not answer";
        Sleep(1);
    }
    if (!releaseSeen && released) released();
    const std::string answer = testfiles::ReadFileBytes(done);
    DeleteFileW(done.c_str());
    DeleteFileW(releasedMark.c_str());
    return answer == "ok" ? std::string() : answer;
}

} // namespace

bool XDragAvailable() {
    return !HelperFolder().empty();
}

std::string DragFilesTo(const std::vector<std::wstring>& files, POINT target,
                        const std::function<void()>& released) {
    std::string request = std::to_string(target.x) + " " + std::to_string(target.y) + "\n";
    for (const std::wstring& file : files) {
        const std::string unix = UnixPath(file);
        if (unix.empty()) return "no Unix path for a file";
        request += unix + "\n";
    }
    return Ask(request, released);
}

std::string LockFile(const std::wstring& file, bool locked) {
    const std::string unix = UnixPath(file);
    if (unix.empty()) return "no Unix path for the file";
    return Ask(std::string(locked ? "lock" : "unlock") + "\n" + unix + "\n", {});
}

} // namespace e2e
