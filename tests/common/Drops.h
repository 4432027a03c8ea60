#pragma once
// Drops as the shell hands them to a window that accepts files.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace testfiles {

// A DROPFILES header and the wide paths, each ended by a zero, then one more zero, dropped at a point of
// the receiver's client area, or of its frame (nonClient). The receiver frees it with DragFinish; only a
// window of this process may receive it.
HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT at = {}, bool nonClient = false);

} // namespace testfiles
