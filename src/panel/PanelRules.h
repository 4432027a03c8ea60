#pragma once
// Grid and sizing rules of the launcher panel, kept free of Windows so they can be tested directly.

#include <cstddef>
#include <cstdint>
#include <string>

// "1".."9" for buttons 1..9, then "A".."U" for 10..30.
std::wstring ButtonCaption(int number);

// The button a typed character selects: "1".."9" give 1..9, "A".."U" and "a".."u" give 10..30; 0 for any
// other character.
int ButtonForKey(wchar_t key);

// Rows shown at once: the tool bar's rows, at most lineMax, and at least one.
int VisibleRows(int toolBarRows, int lineMax);
// Outer height the show handler asks for.
int PanelShowHeight(int visibleRows, int buttonHeight, int frameHeight);
// Minimum and maximum tracking height: two pixels more than the show height.
int PanelTrackHeight(int visibleRows, int buttonHeight, int frameHeight);

// Non-client hit codes: top and bottom edges do nothing, corners size the width only.
int MapPanelHitTest(int code);
