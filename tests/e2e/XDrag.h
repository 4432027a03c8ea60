#pragma once
// Files dragged with the real X pointer onto a point of the screen, as a user drags them from a file
// manager. Windows input cannot start such a drag, so a helper beside the tests does it (see
// tests/support/xdrag.py); scripts/test starts it and names its folder in PMRUN_XDRAG_DIR. The same
// helper makes files unwritable, which root under Wine cannot do from the Windows side.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Whether the helper was started for this run.
bool XDragAvailable();

// Drags the files (Windows paths) from the helper's window to the point and lets go; calls released, if
// given, the moment the button goes up. Empty when the drop was made; otherwise what went wrong.
std::string DragFilesTo(const std::vector<std::wstring>& files, POINT target,
                        const std::function<void()>& released = {});

// Makes the file unwritable, even for root, or writable again (through the same helper). Empty when
// done; otherwise what went wrong.
std::string LockFile(const std::wstring& file, bool locked);

} // namespace e2e
