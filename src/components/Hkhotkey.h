#pragma once
// System-wide hot keys: registered against a hidden message-only window of the user-interface thread,
// each press reported through OnHotKey with the index it was registered under.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-registerhotkey

#include "components/ShortCutText.h"
#include "ui/Window.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace ui {
class Form;
}

// The key names of the user's keyboard layout for the keys the fixed table leaves out.
std::wstring LayoutKeyNameOf(unsigned key);
std::wstring ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const std::wstring& text);

class THookHotKey {
public:
    // The owner is brought to the foreground before a press is reported (Activate).
    explicit THookHotKey(ui::Form& owner);
    virtual ~THookHotKey();
    THookHotKey(const THookHotKey&) = delete;
    THookHotKey& operator=(const THookHotKey&) = delete;

    bool Activate = true;
    std::function<void(int index)> OnHotKey;
    // The window that was in front when the press being reported came, before the owner was brought
    // forward: the window the user was in.
    HWND ForegroundAtPress() const { return foregroundAtPress_; }

    // False when another program holds the combination or the index is taken on this window. The
    // index rule is kept here: Windows would keep both keys and Wine would replace the first.
    bool RegisterKey(int index, TShortCut shortCut);
    bool UnregisterKey(int index);

    // The key the last registration under the index could not take because another program holds it;
    // 0 when that registration succeeded, was of no key, or never happened.
    TShortCut HeldKey(int index) const;
    // The held keys not taken before in this run, in index order: each is told about once.
    std::vector<TShortCut> TakeUntoldHeldKeys();

    // The hidden window the keys are registered against.
    HWND Handle() const { return window_.Handle(); }

protected:
    virtual void DoHotKey(int index);

private:
    HWND foregroundAtPress_ = nullptr;

protected:

private:
    class HotKeyWindow final : public ui::Window {
    public:
        explicit HotKeyWindow(THookHotKey& owner) : owner_(owner) {}
        void Create();
        void Destroy() { DestroyHandle(); }

    private:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
        THookHotKey& owner_;
    };

    ui::Form& owner_;
    HotKeyWindow window_;
    std::set<int> registered_;
    std::map<int, TShortCut> held_;
    std::set<TShortCut> told_;
};
