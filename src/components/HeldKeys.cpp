#include "components/HeldKeys.h"

#include "ui/Language.h"

void TellHeldKeys(THookHotKey& hotKeys, TTrayIcon& tray) {
    if (!tray.Visible() || !tray.TaskTrayIcon().Registered) return;
    const std::vector<TShortCut> keys = hotKeys.TakeUntoldHeldKeys();
    if (keys.empty()) return;
    std::vector<std::wstring> texts;
    for (TShortCut key : keys)
        texts.push_back(ShortCutToText(key));
    tray.SetBalloonHelpTitle(ui::Localized(L"ぱむぱむランチ"));
    tray.SetBalloonHelpText(ui::Localized(HeldKeysMessage(texts)));
    tray.SetBalloonHelpIcon(TBalloonIconType::bitWarning);
    tray.ShowBalloonHelp();
}

std::wstring HeldKeyNoteOf(const THookHotKey& hotKeys, int index) {
    const TShortCut key = hotKeys.HeldKey(index);
    return key == 0 ? std::wstring{} : HeldKeyNote(ShortCutToText(key));
}
