#pragma once
// Window: the object behind one HWND. Windows of our own classes dispatch their messages to a virtual
// handler; a Control wraps a standard control created as a child, whose parent reflects notifications to
// it. Every window of ours, of either kind, is found from its HWND through one table (FromHandle).
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
    HICON classIcon = nullptr;
    HBRUSH classBackground = nullptr;
};

// Made in two steps: the object is constructed first, then its window is made (CreateHandle) by the
// object's owner or by a constructor that has nothing left to build. The window goes before the object:
// the owner destroys it first, and the destructor here only catches a window nobody destroyed.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    bool HandleAllocated() const { return hwnd_ != nullptr; }

    // The object behind a window of ours (a window of our classes or a control we made), or null.
    static Window* FromHandle(HWND hwnd);

    // Its messages come to HandleMessage: a window of our classes, or a control routed there.
    bool GetsOwnMessages() const { return ownClass_ || classProc_; }

    // A notification the parent received on behalf of this window (WM_COMMAND, WM_NOTIFY, ...).
    // Returns true when handled; result then goes back to Windows.
    virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // A window of one of our classes, whose messages come to HandleMessage.
    void CreateHandle(const WindowCreateParams& params);
    // A window of another class (a standard control): known to FromHandle, its messages not ours.
    void AttachHandle(HWND hwnd);
    // Unbinds the window from this object, then destroys it; no message reaches the object meanwhile.
    void DestroyHandle();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    // The HWND is gone (WM_NCDESTROY); the object lives on.
    virtual void HandleDestroyed() {}

private:
    friend class Control;
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool ownClass_ = false;
    WNDPROC classProc_ = nullptr; // a routed control's own procedure, which DefaultHandler calls
};

class Control : public Window {
public:
    static Control* FromHandle(HWND hwnd);

    // The cursor the parent sets over this control; null keeps the class cursor.
    HCURSOR Cursor = nullptr;

    bool Visible() const;
    void SetVisible(bool visible);
    RECT BoundsInParent() const;
    void SetBounds(int left, int top, int width, int height);

protected:
    void CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, const RECT& bounds, HWND parent,
                       int id);
    // Destroys the window, so that CreateControl can make it anew (a style that only creation sets).
    void DestroyControlHandle() { DestroyHandle(); }
    // The control's messages come to HandleMessage, found through the window table like those of our
    // own windows; unhandled ones go on to its class. For a control of ours on a hot path, where
    // watching (ui/Subclass.h) would cost a window-property lookup per message under Wine.
    void RouteMessages();
};

// The notifications a parent hands back to the child they concern: WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
// WM_MEASUREITEM, WM_CTLCOLOR* and the scroll bars' messages. True when that child's object handled it.
bool ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace ui
