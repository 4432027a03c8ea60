#pragma once
// A timer on a window of its form (SetTimer with the form's handle and the timer's own id). Constructed
// before the form's window exists, it starts when the form makes it (Form::Create calls Apply).

#include <windows.h>

#include <functional>

namespace ui {

class Form;

class Timer {
public:
    Timer(Form& owner, UINT_PTR id, UINT interval, bool enabled = false);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    UINT_PTR Id() const { return id_; }

    std::function<void()> OnTimer;
    void Fire();
    // Sets the system timer as Enabled and Interval say, once the form has its window.
    void Apply();

private:
    Form& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_;
};

} // namespace ui
