#pragma once
// Window: owns one HWND of a class of ours and dispatches its messages to a virtual handler.
// Control: wraps a standard control created as a child; its parent reflects notifications to it.
// No C++ exception ever crosses back into Windows: dispatch hands it to the application's error box.

#include <windows.h>

#include <string>

namespace ui {

struct WindowCreateParams {
    const wchar_t* className = nullptr; // registered on first use
    std::wstring caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int left = CW_USEDEFAULT, top = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr; // owner for top-level windows
    HCURSOR classCursor = nullptr;
    UINT classStyle = 0;
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    bool HandleAllocated() const { return hwnd_ != nullptr; }

    // The object behind a window of ours, or null for any other window.
    static Window* FromHandle(HWND hwnd);

protected:
    void CreateHandle(const WindowCreateParams& params);
    void DestroyHandle();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    // The HWND is gone (WM_NCDESTROY); the object lives on.
    virtual void HandleDestroyed() {}

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Handle() const { return hwnd_; }
    static Control* FromHandle(HWND hwnd);

    // A notification the parent received on behalf of this control (WM_COMMAND, WM_NOTIFY, ...).
    // Returns true when handled; result then goes back to Windows.
    virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The cursor the parent sets over this control; null keeps the class cursor.
    HCURSOR Cursor = nullptr;

    bool Visible() const;
    void SetVisible(bool visible);
    RECT BoundsInParent() const;
    void SetBounds(int left, int top, int width, int height);

protected:
    void CreateHandle(const wchar_t* className, DWORD style, DWORD exStyle, const RECT& bounds, HWND parent,
                      int id);
    // Destroys the window, so that CreateHandle can make it anew (a style that only creation sets).
    void DestroyControlHandle();

private:
    HWND hwnd_ = nullptr;
};

// Sends a reflected notification to the Control behind the child window, if any.
bool ReflectToControl(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace ui
