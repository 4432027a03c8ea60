#include "dialogs/VerDlg.h"

#include "components/VerInfo.h"
#include "components/VersionParts.h"
#include "ui/Application.h"
#include "ui/Language.h"

std::wstring TVerDlgF::VersionSource;

namespace {

ui::FontSpec TitleFont() {
    ui::FontSpec font;
    font.height = -13;
    font.bold = true;
    return font;
}

// The English name is longer than the Japanese one; the Japanese box keeps its designed places.
bool English() {
    return ui::ProgramLanguage() == ui::Language::English;
}

} // namespace

TVerDlgF::TVerDlgF()
    : ui::Form({.className = L"TVerDlgF",
                .caption = L"ﾊﾞｰｼﾞｮﾝ情報",
                .width = 384,
                .height = 76,
                .clientSize = true,
                .centred = true,
                .borderStyle = ui::BorderStyle::Dialog,
                .color = clBtnFace}),
      OKBtn(*this, {300, 8, 75, 25}, L"OK", true), Bevel1(*this, {8, 8, 281, 65}),
      Image1(*this, {20, 20, 36, 36}, clBtnFace),
      Label1(*this, {67, 20, English() ? 152 : 103, 13}, L"ぱむぱむランチ", TitleFont()),
      // Wide enough for the version text that replaces the caption.
      Label2(*this, {English() ? 222 : 174, 20, English() ? 62 : 100, 12}, L"VerSion:") {}

void TVerDlgF::WindowCreated() {
    Image1.SetIcon(base::UniqueHicon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0))));
    OKBtn.OnClick = [this] { ModalResult = IDOK; };
    DialogKeys = true;
    ActiveControl = OKBtn.Handle();
    OnCreate = [this] { FormCreate(); };
}

void TVerDlgF::FormCreate() {
    TVerInfo info(VersionSource.empty() ? ui::Application::ExeName() : VersionSource);
    Label2.SetCaption(VersionText(info.GetFileVersion()));
}
