#pragma once
// One tooltip control per form: a tool per graphic control, per form and per tool-bar button, each
// with its text set directly. The application's hint settings give the pauses and the colour, and its
// show-hint handler may move a hint just before it appears (TTN_SHOW).
// https://learn.microsoft.com/windows/win32/controls/tooltip-controls

#include "base/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class HintHost {
public:
    explicit HintHost(HWND form);
    ~HintHost();
    HintHost(const HintHost&) = delete;
    HintHost& operator=(const HintHost&) = delete;

    HWND Handle() const { return tooltip_.get(); }

    // A tool is a rectangle in the client area of window; (window, id) names it.
    void AddTool(HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text);
    void SetToolRect(HWND window, UINT_PTR id, const RECT& rect);
    void SetToolText(HWND window, UINT_PTR id, const std::wstring& text);
    void RemoveTool(HWND window, UINT_PTR id);
    bool HasTool(HWND window, UINT_PTR id) const;
    std::wstring ToolText(HWND window, UINT_PTR id) const;

    // The tooltip learns of the pointer through these: the form and the other windows whose messages
    // come to their objects (a tool bar) pass on their mouse messages, other tool windows are watched.
    static bool IsRelayed(UINT message);
    void Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The window is being destroyed: its tools go.
    void ForgetWindow(HWND window);

    void ApplySettings();
    // TTN_SHOW and the other tooltip notifications; true when handled.
    bool HandleNotify(const NMHDR& header, LRESULT& result);

    // A message of a watched tool window (see ui/Subclass.h).
    LRESULT WatchedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Tool {
        HWND window;
        UINT_PTR id;
        std::wstring text;
    };
    const Tool* FindTool(HWND window, UINT_PTR id) const;
    void WatchWindow(HWND window);
    bool OnShow();

    HWND form_;
    base::UniqueHelperWindow tooltip_;
    std::vector<Tool> tools_;
    std::vector<HWND> watched_; // windows other than the form whose notifications are caught
};

} // namespace ui
