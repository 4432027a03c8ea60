#pragma once
// A tool bar of image buttons that wrap into rows of whole buttons, over the comctl32 tool bar.
// The bar sizes itself: its width is the indent plus whole buttons, its height that of its rows.
// https://learn.microsoft.com/windows/win32/controls/toolbar-control-reference

#include "ui/Window.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Form;
class ImageList;
class ToolBar;

class ToolButton {
public:
    ToolButton(ToolBar& bar, int index, std::wstring name, std::wstring caption, int imageIndex);

    ToolBar& Bar() const { return bar_; }
    int Index() const { return index_; }
    int Id() const;
    const std::wstring& Name() const { return name_; }
    const std::wstring& Caption() const { return caption_; }
    int ImageIndex() const { return imageIndex_; }

    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);

    // Drawn pressed (the swap source).
    bool Down() const;
    void SetDown(bool down);

    // Runs OnClick as a click with the mouse does.
    void Click();
    std::function<void(ToolButton&)> OnClick;

    // In the tool bar's client coordinates.
    RECT ItemRect() const;

private:
    ToolBar& bar_;
    int index_;
    std::wstring name_;
    std::wstring caption_;
    int imageIndex_;
    std::wstring hint_;
};

// Constructed on a form, it makes its window once the form has one (Container::AddControl).
class ToolBar : public Control {
public:
    struct Params {
        int left = 0, top = 0, width = 100, height = 40;
        int indent = 1;
        int buttonWidth = 23, buttonHeight = 22;
        int id = 1;
    };
    ToolBar(Form& parent, const Params& params);
    ~ToolBar() override;

    struct NewButton {
        std::wstring name;
        std::wstring caption;
        int imageIndex = -1;
    };
    // Appends the buttons in order, each with its hint tool.
    void AddButtons(std::span<const NewButton> items);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    ToolButton& Button(int index) const { return *buttons_.at(static_cast<std::size_t>(index)); }
    ToolButton* FindButton(std::wstring_view name) const;

    // The images of the buttons, enabled and disabled alike.
    void SetImages(ImageList* images);

    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool show);

    // The buttons' size as the bar draws them; with captions the height may exceed the one asked for.
    int ButtonWidth() const;
    int ButtonHeight() const;
    void SetButtonWidth(int width);
    void SetButtonHeight(int height);

    int Indent() const { return indent_; }
    int Width() const;
    int Height() const;
    // Re-wraps the buttons for this width, then shrinks to whole buttons.
    void SetWidth(int width);
    int RowCount() const;
    int ButtonsPerRow() const { return perRow_; }

    void Repaint();
    // The bar's size changed (rows, width or button size).
    std::function<void()> OnResize;

    // The index of the button at a point of the bar's client area, or -1.
    int ButtonAt(POINT point) const;
    // One button drawn marked (where a drag would land), or none (-1).
    void MarkButton(int index);
    int MarkedButton() const { return marked_; }
    // With a handler, pressing a button and moving past the system's drag distance drags it instead of
    // clicking it: the button under the pointer is marked, releasing reports where (from, to; to is -1
    // outside the buttons), and Esc or a lost capture gives the drag up. Released on the button it began
    // on, it is that button's click. Without a handler, or while CanStartDrag says no, presses only click.
    std::function<void(int from, int to)> OnButtonDragged;
    std::function<bool()> CanStartDrag;

    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // The bar's own messages (routed, see Control::RouteMessages): the form's tooltip learns of the
    // pointer over the buttons from them, and is told where to show.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class ToolButton;
    void CreateBar(const Params& params);
    void ApplyButtonSize();
    void Relayout(int width);
    void UpdateHintTools();
    LRESULT CustomDraw(const NMTBCUSTOMDRAW& draw);
    // The drag gesture's share of the bar's mouse and key messages; true when it took the message.
    bool DragMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void EndDrag();

    Form& parent_;
    std::vector<std::unique_ptr<ToolButton>> buttons_;
    int indent_;
    int requestedWidth_;
    int requestedHeight_;
    int perRow_ = 1;
    bool showCaptions_ = false;
    bool layoutCurrent_ = false; // the wrap and size follow the buttons and sizes as they are now
    int marked_ = -1;
    int pressed_ = -1; // the button the left press came down on, until it comes up
    POINT pressPoint_{};
    bool dragging_ = false;
};

} // namespace ui
