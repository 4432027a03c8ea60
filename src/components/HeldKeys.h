#pragma once
// Telling the user, once a run, about hot keys that another program holds: a balloon of the tray icon.

#include "components/Hkhotkey.h"
#include "components/Taskbar.h"

// The held keys not yet told, in one balloon, when the icon shows; while it does not, they wait for the
// next time it does.
void TellHeldKeys(THookHotKey& hotKeys, TTrayIcon& tray);

// The note for the key held under the index, or empty when the key is free.
std::wstring HeldKeyNoteOf(const THookHotKey& hotKeys, int index);
