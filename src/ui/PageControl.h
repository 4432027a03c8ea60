#pragma once
// Tab pages: a tab control with one child window per page, of which only the chosen one shows. The
// controls of a page are children of its window, which hands their notifications back to them.
// https://learn.microsoft.com/windows/win32/controls/tab-controls

#include "ui/Container.h"
#include "ui/StdControls.h"
#include "ui/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class PageControl;

class TabSheet : public Window, public Container {
public:
    TabSheet(PageControl& owner, const std::wstring& caption);

    // Made by the page control once its own window exists; the controls of the page follow with
    // CreatePageControls.
    void Create();
    void CreatePageControls() { CreateControls(); }

    HWND ContainerHandle() const override { return Handle(); }
    HFONT ContainerFont() const override;
    const std::wstring& Caption() const { return caption_; }
    int Width() const;
    int Height() const;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    PageControl& owner_;
    std::wstring caption_;
};

class PageControl : public StdControl {
public:
    // Multi-line tabs, the pages' rows scrolling to the opposite side.
    PageControl(Container& parent, const Bounds& bounds);
    TabSheet& AddPage(const std::wstring& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet& Page(int index) const { return *pages_[static_cast<std::size_t>(index)]; }
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // Every tab this wide, in pixels; the width follows the form to a monitor of another DPI.
    void SetTabWidth(int width);
    void DpiChanged(int oldDpi, int newDpi) override;
    // The form's font as it is now: the form makes it again for each DPI.
    HFONT Font() const { return parent_.ContainerFont(); }
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void CreateWindowAndPages(Container& parent, const Bounds& bounds);
    int tabWidth_ = 0; // pixels; 0 while the tabs fit their captions
    void InsertPage(TabSheet& page, int index);
    void LayOutPages();
    Container& parent_;
    std::vector<std::unique_ptr<TabSheet>> pages_;
};

} // namespace ui
