#pragma once
// The value rule of a spin edit, free of Windows.

#include <string>

// A new value is kept within minimum..maximum, except when the two are equal: then any value is taken.
int SpinValue(int value, int minimum, int maximum);
// The text as a number; text that is not a whole decimal number reads as the minimum.
int SpinValueFromText(const std::wstring& text, int minimum);
