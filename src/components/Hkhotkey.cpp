#include "components/Hkhotkey.h"

#include "ui/Application.h"
#include "ui/Form.h"

std::wstring LayoutKeyNameOf(unsigned key) {
    // With the extended-key prefix, so that Print Screen and Num *, or Num / and /, get names of their
    // own; sharing one name, a stored key would read back as the other one.
    const UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC_EX);
    if ((scanCode & 0xFF) == 0) return {};
    constexpr LONG kExtendedKey = 1 << 24;
    LONG keyParam = static_cast<LONG>((scanCode & 0xFF) << 16);
    if ((scanCode & 0xFF00) == 0xE000 || (scanCode & 0xFF00) == 0xE100) keyParam |= kExtendedKey;
    // Names are short, but a layout may have longer ones than any buffer guessed: grow until it fits.
    std::wstring name(32, L'\0');
    for (;;) {
        const int length = GetKeyNameTextW(keyParam, name.data(), static_cast<int>(name.size()));
        if (length <= 0) return {};
        if (static_cast<std::size_t>(length) + 1 < name.size()) {
            name.resize(static_cast<std::size_t>(length));
            return name;
        }
        name.resize(name.size() * 2);
    }
}

std::wstring ShortCutToText(TShortCut shortCut) {
    return ShortCutToText(shortCut, LayoutKeyNameOf);
}

TShortCut TextToShortCut(const std::wstring& text) {
    return TextToShortCut(text, LayoutKeyNameOf);
}

THookHotKey::THookHotKey(ui::Form& owner) : owner_(owner), window_(*this) {
    window_.Create();
}

THookHotKey::~THookHotKey() {
    // Its keys go with it; they are not unregistered first.
    window_.Destroy();
}

bool THookHotKey::RegisterKey(int index, TShortCut shortCut) {
    if (registered_.contains(index)) return false;
    const UINT key = shortCut & kShortCutKeyMask;
    // A held Alt+A must not flicker the panel, nor a held Alt+Q open the menu inside its own tracking.
    if (!RegisterHotKey(Handle(), index, HotKeyModifiers(shortCut), key)) {
        // Whatever the error, a key we asked for and did not get is one the user cannot use.
        if (shortCut != 0)
            held_[index] = shortCut;
        else
            held_.erase(index);
        return false;
    }
    held_.erase(index);
    registered_.insert(index);
    return true;
}

TShortCut THookHotKey::HeldKey(int index) const {
    const auto found = held_.find(index);
    return found == held_.end() ? TShortCut{0} : found->second;
}

std::vector<TShortCut> THookHotKey::TakeUntoldHeldKeys() {
    std::vector<TShortCut> untold;
    for (const auto& [index, key] : held_) {
        if (told_.insert(key).second) untold.push_back(key);
    }
    return untold;
}

bool THookHotKey::UnregisterKey(int index) {
    if (!UnregisterHotKey(Handle(), index)) return false;
    registered_.erase(index);
    return true;
}

void THookHotKey::DoHotKey(int index) {
    if (!OnHotKey) return;
    foregroundAtPress_ = GetForegroundWindow();
    if (Activate) SetForegroundWindow(owner_.Handle());
    OnHotKey(index);
}

void THookHotKey::HotKeyWindow::Create() {
    ui::WindowCreateParams params;
    params.className = L"THookHotKeyWindow";
    params.left = params.top = params.width = params.height = 0;
    params.parent = HWND_MESSAGE;
    CreateHandle(params);
}

LRESULT THookHotKey::HotKeyWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // An exception from the handler reaches the application's error box through the dispatch, and the
    // next press is handled as usual.
    if (message == WM_HOTKEY) {
        if (LOWORD(lParam) & MOD_ALT) ui::Application::Instance().IgnoreAltMenuAfterHotKey();
        owner_.DoHotKey(static_cast<int>(wParam));
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}
