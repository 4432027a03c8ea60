#pragma once
// What a control is created in: a form, or a page of a page control. Either gives the parent window and
// the font its controls take.

#include <windows.h>

namespace ui {

class Container {
public:
    virtual ~Container() = default;
    virtual HWND ContainerHandle() const = 0;
    virtual HFONT ContainerFont() const = 0;
};

} // namespace ui
