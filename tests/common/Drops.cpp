#include "Drops.h"

#include <shlobj.h>

#include <cstring>

namespace testfiles {

HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT at, bool nonClient) {
    std::wstring list;
    for (const auto& path : paths)
        list += path + L'\0';
    list += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fWide = TRUE;
    header->fNC = nonClient;
    std::memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), list.data(),
                list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

} // namespace testfiles
