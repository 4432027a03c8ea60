#pragma once
// Arithmetic of wrapping buttons into rows and of scroll positions; no Windows here.

// Whole buttons that fit a bar of the given width after its indent; at least one.
int ButtonsPerRow(int width, int indent, int buttonWidth);
// Width of a bar that holds exactly buttonsPerRow buttons.
int ToolBarWidthFor(int buttonsPerRow, int indent, int buttonWidth);
int RowsFor(int buttonCount, int buttonsPerRow);
// A scroll position kept within 0 .. range - page.
int ClampScrollPosition(int position, int range, int page);
// Whether a pointer pressed at (fromX, fromY) and now at (toX, toY) has moved past the system's drag
// distance: more than dragX pixels to either side, or dragY up or down (SM_CXDRAG, SM_CYDRAG).
bool BeyondDragDistance(int fromX, int fromY, int toX, int toY, int dragX, int dragY);
