#include "ui/Timer.h"

#include "ui/Form.h"

namespace ui {

Timer::Timer(Form& owner, UINT_PTR id, UINT interval, bool enabled)
    : owner_(owner), id_(id), interval_(interval), enabled_(enabled) {
    owner_.AddTimer(this);
    Apply();
}

Timer::~Timer() {
    if (owner_.Handle()) KillTimer(owner_.Handle(), id_);
    owner_.RemoveTimer(this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Apply();
}

void Timer::SetInterval(UINT interval) {
    if (interval_ == interval) return;
    interval_ = interval;
    Apply();
}

void Timer::Apply() {
    HWND hwnd = owner_.Handle();
    if (!hwnd) return;
    KillTimer(hwnd, id_);
    if (enabled_ && interval_ > 0) SetTimer(hwnd, id_, interval_, nullptr);
}

void Timer::Fire() {
    if (enabled_ && OnTimer) OnTimer();
}

} // namespace ui
