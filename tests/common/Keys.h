#pragma once
// Keys as the keyboard sends them (SendInput), for the tests that press hot keys.

#include <windows.h>

#include <initializer_list>

namespace testfiles {

// Presses the modifiers in their order, then the key, and lets go in the reverse order.
void PressChord(WORD vk, std::initializer_list<WORD> modifiers);

} // namespace testfiles
