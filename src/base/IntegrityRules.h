#pragma once
// Whether this program runs above the shell, decided without Windows so that every case is tested.

// Integrity levels as the system numbers them (the RIDs of SECURITY_MANDATORY_*); 0 when unread.
constexpr unsigned long kMediumIntegrity = 0x2000;

// ours and theShells: the two processes' integrity levels. When the shell's cannot be read (it has not
// started yet, or runs under another account whose token this one may not open), the program's own token
// decides: elevated, or above the medium level, it is taken as above, so that drops still reach it by
// WM_DROPFILES rather than by an OLE registration that would get none.
bool AboveTheShell(unsigned long ours, unsigned long theShells, bool elevated);
