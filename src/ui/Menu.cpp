#include "ui/Menu.h"

#include "base/Exception.h"
#include "ui/Language.h"

namespace ui {

namespace {
// Command ids of items start here, so that 0 can mean "nothing chosen".
constexpr UINT kFirstCommand = 100;
} // namespace

MenuItem::MenuItem(PopupMenu& menu, std::wstring name, std::wstring caption, UINT command, bool separator)
    : menu_(menu), name_(std::move(name)), caption_(std::move(caption)), command_(command),
      separator_(separator) {}

void MenuItem::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    std::wstring shown = Localized(caption_);
    info.dwTypeData = shown.data();
    SetMenuItemInfoW(menu_.Handle(), command_, FALSE, &info);
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    EnableMenuItem(menu_.Handle(), command_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MenuItem::Click() {
    if (enabled_ && !separator_ && OnClick) OnClick();
}

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
    if (!menu_) throw Exception(L"メニューを作成できません", GetLastError());
}

PopupMenu::~PopupMenu() {
    auto listeners = std::move(removalListeners_);
    for (auto& [key, onRemoved] : listeners)
        onRemoved();
}

void PopupMenu::AddRemovalListener(const void* key, std::function<void()> onRemoved) {
    RemoveRemovalListener(key);
    removalListeners_.emplace_back(key, std::move(onRemoved));
}

void PopupMenu::RemoveRemovalListener(const void* key) {
    std::erase_if(removalListeners_, [&](const auto& entry) { return entry.first == key; });
}

MenuItem& PopupMenu::Add(const std::wstring& name, const std::wstring& caption) {
    return Append(name, caption, false);
}

MenuItem& PopupMenu::AddSeparator(const std::wstring& name) {
    return Append(name, L"-", true);
}

MenuItem& PopupMenu::Append(const std::wstring& name, const std::wstring& caption, bool separator) {
    const UINT command = kFirstCommand + static_cast<UINT>(items_.size());
    auto item = std::make_unique<MenuItem>(*this, name, caption, command, separator);
    const BOOL added = separator ? AppendMenuW(menu_.get(), MF_SEPARATOR, command, nullptr)
                                 : AppendMenuW(menu_.get(), MF_STRING, command, Localized(item->Caption()).c_str());
    if (!added) throw Exception(L"メニュー項目を追加できません", GetLastError());
    items_.push_back(std::move(item));
    return *items_.back();
}

MenuItem* PopupMenu::FindItem(std::wstring_view name) const {
    for (const auto& item : items_)
        if (item->Name() == name) return item.get();
    return nullptr;
}

MenuItem* PopupMenu::ItemByCommand(UINT command) const {
    if (command < kFirstCommand || command - kFirstCommand >= items_.size()) return nullptr;
    return items_[command - kFirstCommand].get();
}

void PopupMenu::Popup(HWND owner, int x, int y) {
    // The owner must be in the foreground, or the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    // Lets the menu's window go before the next menu opens (a known TrackPopupMenu quirk).
    PostMessageW(owner, WM_NULL, 0, 0);
    if (MenuItem* item = ItemByCommand(chosen)) item->Click();
}

} // namespace ui
