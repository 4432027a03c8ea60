#pragma once
// What a control is created in: a form, or a page of a page control. Either gives the parent window and
// the font its controls take, and makes the windows of the controls constructed on it.

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace ui {

class Container {
public:
    virtual ~Container() = default;
    virtual HWND ContainerHandle() const = 0;
    virtual HFONT ContainerFont() const = 0;

    // A control constructed on this container has its window made by create: at once when the
    // container's window exists, otherwise as soon as it does, in the order the controls were constructed.
    // Controls are constructed as members of the form that holds the container, so they outlive the wait.
    void AddControl(std::function<void()> create) {
        if (ContainerHandle())
            create();
        else
            pending_.push_back(std::move(create));
    }

protected:
    // The container's window was just made: the controls waiting for it get theirs.
    void CreateControls() {
        auto pending = std::move(pending_);
        pending_.clear();
        for (auto& create : pending)
            create();
    }

private:
    std::vector<std::function<void()>> pending_;
};

} // namespace ui
