#include "ui/GridRules.h"

#include <algorithm>

int ButtonsPerRow(int width, int indent, int buttonWidth) {
    if (buttonWidth <= 0) return 1;
    return std::max(1, (width - indent) / buttonWidth);
}

int ToolBarWidthFor(int buttonsPerRow, int indent, int buttonWidth) {
    return indent + buttonsPerRow * buttonWidth;
}

int RowsFor(int buttonCount, int buttonsPerRow) {
    if (buttonCount <= 0) return 0;
    buttonsPerRow = std::max(1, buttonsPerRow);
    return (buttonCount + buttonsPerRow - 1) / buttonsPerRow;
}

int ClampScrollPosition(int position, int range, int page) {
    return std::clamp(position, 0, std::max(0, range - page));
}

bool BeyondDragDistance(int fromX, int fromY, int toX, int toY, int dragX, int dragY) {
    const int dx = toX - fromX, dy = toY - fromY;
    return dx > dragX || -dx > dragX || dy > dragY || -dy > dragY;
}
