#pragma once
// A popup menu whose items keep their caption and enabled state and run their own click handler.
// https://learn.microsoft.com/windows/win32/menurc/menus

#include "base/Handles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class PopupMenu;

class MenuItem {
public:
    MenuItem(PopupMenu& menu, std::wstring name, std::wstring caption, UINT command, bool separator);

    const std::wstring& Name() const { return name_; }
    UINT Command() const { return command_; }
    bool IsSeparator() const { return separator_; }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Runs OnClick as choosing the item does; a disabled item does nothing.
    void Click();
    std::function<void()> OnClick;

private:
    PopupMenu& menu_;
    std::wstring name_;
    std::wstring caption_;
    UINT command_;
    bool separator_;
    bool enabled_ = true;
};

class PopupMenu {
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Handle() const { return menu_.get(); }

    MenuItem& Add(const std::wstring& name, const std::wstring& caption);
    MenuItem& AddSeparator(const std::wstring& name);
    MenuItem* FindItem(std::wstring_view name) const;
    MenuItem* ItemByCommand(UINT command) const;
    int Count() const { return static_cast<int>(items_.size()); }

    // Opens the menu at a screen point for the owner window and runs the chosen item, if any.
    void Popup(HWND owner, int x, int y);

    // Whoever refers to the menu is told when it goes, and forgets it; the key names the listener.
    void AddRemovalListener(const void* key, std::function<void()> onRemoved);
    void RemoveRemovalListener(const void* key);

private:
    std::vector<std::pair<const void*, std::function<void()>>> removalListeners_;
    MenuItem& Append(const std::wstring& name, const std::wstring& caption, bool separator);
    base::UniqueHmenu menu_;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

} // namespace ui
