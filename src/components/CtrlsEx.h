#pragma once
// A push button whose face the program paints, so that its caption shows in the button's font colour
// (which a standard push button ignores). Its modal result also fills in a standard caption.
// https://learn.microsoft.com/windows/win32/controls/user-controls-intro

#include "base/Color.h"
#include "ui/StdControls.h"

#include <functional>
#include <string>

enum class TButtonExStyle { bsStandard, bsOwnerDraw, bsOwnerDrawWithFrame };

class TButtonEx : public ui::StdControl {
public:
    // modalResult as the form's data gives it: the caption stays as given.
    TButtonEx(ui::Container& parent, const ui::Bounds& bounds, const std::wstring& caption,
              int modalResult = 0, bool tabStop = true);
    ~TButtonEx() override;

    // The name has always been spelled so. Another value makes the window anew.
    TButtonExStyle Sytle() const { return style_; }
    void SetSytle(TButtonExStyle style);

    int ModalResult() const { return modalResult_; }
    // 1..8 also set the standard caption ("OK", "ｷｬﾝｾﾙ", …, "すべて"); other values leave it.
    void SetModalResult(int value);

    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);
    void SetCaption(const std::wstring& caption);

    // Whether the button shows the default look: it has the focus.
    bool DefaultLook() const { return default_; }

    std::function<void()> OnClick;
    // Paints the face's content instead of the caption; the frame is already drawn.
    std::function<void(TButtonEx& control, const RECT& rect, UINT state)> OnDrawButton;

    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Its own messages, watched for the focus and the dialog manager's restyling (see ui/Subclass.h).
    LRESULT WatchedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void DrawButton(HDC dc, RECT rect, UINT state);

private:
    void CreateWindowNow();
    ui::Container& parent_;
    ui::Bounds bounds_;
    std::wstring caption_;
    bool tabStop_;
    TButtonExStyle style_ = TButtonExStyle::bsStandard;
    int modalResult_;
    TColor fontColor_ = clWindowText;
    bool default_ = false;
};
