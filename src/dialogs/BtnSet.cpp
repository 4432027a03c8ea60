#include "dialogs/BtnSet.h"

#include "base/PathParts.h"
#include "base/TextRules.h"
#include "components/FmxUtils.h"
#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Language.h"
#include "ui/Monitors.h"
#include "ui/SpinRule.h"

#include <string>
#include <utility>


namespace {

// Sets a field to a default derived from the program path, and remembers it as such.
template <class Field> void Derive(Field& field, std::wstring& derived, const std::wstring& text) {
    field.SetText(text);
    derived = text;
}

} // namespace

TBtnSetF& SettingsDialogSlot::Make(Launcher& launcher, ui::Form& panel, int number) {
    dialog_ = ui::Application::Instance().CreateOwnedForm<TBtnSetF>(launcher, panel, *this);
    dialog_->ButtonNo = number;
    return *dialog_;
}

void SettingsDialogSlot::Close() {
    if (!dialog_) return;
    TBtnSetF* dialog = std::exchange(dialog_, nullptr);
    dialog->Close();
    dialog->Release();
}

TBtnSetF::TBtnSetF(Launcher& launcher, ui::Form& panel, SettingsDialogSlot& slot)
    : ui::Form({.className = L"TBtnSetF",
                .caption = L"ぱむぱむランチ",
                .left = 427,
                .top = 261,
                .width = 296,
                .height = 165,
                .clientSize = true,
                .borderStyle = ui::BorderStyle::Single,
                .systemMenu = false,
                .color = clBtnFace}),
      Label1(*this, {8, 12, 70, 12}, L"実行ﾌﾟﾛｸﾞﾗﾑ"), Label3(*this, {8, 32, 70, 12}, L"作業ﾌｫﾙﾀﾞ"),
      Label4(*this, {8, 52, 70, 12}, L"実行ｵﾌﾟｼｮﾝ"), Label2(*this, {8, 72, 70, 12}, L"ﾋﾝﾄ文字"),
      Label5(*this, {8, 92, 70, 12}, L"ｱｲｺﾝﾌｧｲﾙ"), Edit1(*this, {80, 10, 177, 20}),
      Button1(*this, {256, 10, 33, 20}, L"参照"), Edit3(*this, {80, 30, 209, 20}),
      Edit5(*this, {80, 50, 209, 20}), Edit4(*this, {80, 70, 209, 20}),
      ComboBox1(*this, {80, 90, 177, 20}, 12), Button2(*this, {256, 90, 33, 20}, L"参照"),
      SpinEdit1(*this, {80, 110, 41, 21}, clWhite, ui::SpinTyping::Disabled),
      Button5(*this, {80, 135, 65, 25}, L"ｷｬﾝｾﾙ"), Button3(*this, {150, 135, 67, 25}, L"ｸﾘｱ"),
      Button4(*this, {220, 135, 69, 25}, L"OK"), Panel1(*this, {18, 110, 40, 40}, clBtnHighlight),
      Edit6(*this, {120, 110, 171, 20}, true, false), Image1(*this, {22, 114, 33, 33}, clBtnHighlight),
      launcher_(launcher), panel_(panel), slot_(slot) {}

void TBtnSetF::WindowCreated() {
    Edit6.SetColor(clBtnFace);
    OpenDialog1.Filter = L"ﾌﾟﾛｸﾞﾗﾑ　ﾌｧｲﾙ|*.exe|ｱｲｺﾝ　ﾌｧｲﾙ|*.Ico;*.dll;*.exe|すべてのﾌｧｲﾙ(*.*)|*.*";
    OpenDialog1.HideReadOnly = true;
    OpenDialog1.FileMustExist = true;
    DialogKeys = true;
    ActiveControl = Edit1.Handle();

    Edit1.OnChange = [this] { Edit1Change(); };
    ComboBox1.OnChange = [this] { ComboBox1Change(); };
    SpinEdit1.OnChange = [this] { SpinEdit1Change(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    Button3.OnClick = [this] { Button3Click(); };
    Button4.OnClick = [this] { Button4Click(); };
    Button5.OnClick = [this] { Button5Click(); };
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    answers_.Open(Handle(), kFilesAnsweredMessage);
}

TBtnSetF::~TBtnSetF() {
    if (slot_.dialog_ == this) slot_.dialog_ = nullptr;
}

void TBtnSetF::FormCreate() {
    const std::wstring system = SystemDirectory();
    ComboBox1.AddItem(system + L"\\Shell32.dll");
    ComboBox1.AddItem(system + L"\\Pifmgr.dll");
}

void TBtnSetF::FormShow() {
    PlaceBesidePanel();
    SetCaption(L"ボタン" + std::to_wstring(ButtonNo) + L"の詳細設定");
    FillFromRecord();
    ComboBox1Change();
}

void TBtnSetF::PlaceBesidePanel() {
    // Against the work area of the monitor the mascot is on.
    const MonitorArea monitor = slot_.placedBy ? ui::MonitorOfWindow(slot_.placedBy) : ui::PrimaryMonitor();
    const ScreenRect panel{panel_.Left(), panel_.Top(), panel_.Left() + panel_.Width(),
                           panel_.Top() + panel_.Height()};
    // At the size it has on that monitor's DPI, which may not be the one it was made on.
    const SIZE size = SizeAtDpi(
        ui::DpiAt(RECT{monitor.work.left, monitor.work.top, monitor.work.right, monitor.work.bottom}));
    const ScreenRect at = BesideAnchor(panel, size.cx, size.cy, monitor);
    SetBounds(at.left, at.top, at.Width(), at.Height());
}

void TBtnSetF::FillFromRecord() {
    const ButtonRecord& record = launcher_.Button(ButtonNo);
    Edit1.SetText(record.Program); // may derive defaults; the fields below overwrite them
    // ... and so would an answer about the program, if it came later.
    Forget(kProgramSlot);
    ComboBox1.SetText(record.IconFile);
    SpinEdit1.SetValue(record.IconIndex + 1);
    Edit4.SetText(record.Hint);
    Edit5.SetText(record.Options);
    Edit3.SetText(record.WorkFolder);
    derivedIconFile_.clear();
    derivedFolder_.clear();
}

void TBtnSetF::Edit1Change() {
    const std::wstring program = Edit1.Text();
    Forget(kProgramSlot);
    if (!program.empty()) {
        // An empty field takes its default from the path, and so does one that still holds the default of
        // an earlier path: the answer that would have corrected it (the document rule below, for a path
        // typed halfway) may not have come before the next key.
        if (ComboBox1.Text().empty() || ComboBox1.Text() == derivedIconFile_)
            Derive(ComboBox1, derivedIconFile_, program);
        if (Edit3.Text().empty() || Edit3.Text() == derivedFolder_)
            Derive(Edit3, derivedFolder_, ExtractFilePath(program));
        if (Edit4.Text().empty()) Edit4.SetText(FileNameWithoutExt(program));
        // Whether it is a document, and what opens it, is for the file to say; its answer fills only the
        // fields the user leaves as they are now.
        programAsk_ = {ComboBox1.Text(), Edit3.Text()};
        Ask(kProgramSlot, program, [program](FileAnswer& answer) {
            answer.count = IconCount(program);
            answer.document = answer.count == 0 && !SameTextIgnoringAsciiCase(ExtractFileExt(program), L".EXE");
            if (answer.document) answer.opensWith = FindExecutableFor(program);
        });
    }
    ComboBox1Change();
}

void TBtnSetF::ProgramAnswered(const FileAnswer& answer) {
    if (answer.file != Edit1.Text() || !answer.document) return;
    // A document shows the icon of the program that opens it and starts in its own folder, unless the user
    // has written there since the question.
    const auto untouched = [](const std::wstring& now, const std::wstring& asked, const std::wstring& derived) {
        return now == asked || now == derived;
    };
    if (untouched(Edit3.Text(), programAsk_.folder, derivedFolder_))
        Derive(Edit3, derivedFolder_, ExtractFilePath(answer.file));
    if (untouched(ComboBox1.Text(), programAsk_.iconFile, derivedIconFile_)) {
        Derive(ComboBox1, derivedIconFile_, answer.opensWith);
        ComboBox1Change();
    }
}

namespace {

// The icon number a file of count icons opens at: the stored index's, within the file's icons.
int OpeningIconNumber(int count, int storedIndex) {
    if (count == 1) return 1;
    return SpinValue(storedIndex != 0 ? storedIndex + 1 : 1, 1, count);
}

} // namespace

void TBtnSetF::ComboBox1Change() {
    const std::wstring file = ComboBox1.Text();
    // The stored index, not the number shown now.
    const int stored = launcher_.Button(ButtonNo).IconIndex;
    Image1.Clear();
    Forget(kPreviewSlot);
    numberAsked_ = SpinEdit1.Value();
    Ask(kIconFileSlot, file, [file, stored, size = Scale(32)](FileAnswer& answer) {
        answer.count = IconCount(file);
        if (answer.count <= 0) return;
        answer.number = OpeningIconNumber(answer.count, stored);
        answer.icon = ExtractIconAt(file, answer.number - 1, size);
    });
}

void TBtnSetF::IconFileAnswered(FileAnswer& answer) {
    if (answer.file != ComboBox1.Text()) return;
    if (answer.count <= 0) {
        Edit6.SetText(ui::Localized(L"アイコンがありません"));
        SpinEdit1.SetRange(0, 0);
        SpinEdit1.SetValue(0);
        SpinEdit1.SetEnabledWithArrows(false);
        Image1.Clear();
        return;
    }
    Edit6.SetText(ui::Localized(std::to_wstring(answer.count) + L"個のアイコンがあります"));
    // A number the user has turned since the question stays, within the file's icons, with its preview.
    const int turned = SpinEdit1.Value();
    SpinEdit1.SetEnabledWithArrows(answer.count > 1);
    if (answer.count > 1) SpinEdit1.SetRange(1, answer.count);
    if (answer.count > 1 && turned != numberAsked_) {
        SpinEdit1.SetValue(turned); // kept in the range
        ShowIcon(SpinEdit1.Value());
        return;
    }
    SpinEdit1.SetValue(answer.number);
    // The icon came with the count; the preview the new number asked for is not needed.
    Forget(kPreviewSlot);
    Image1.SetIcon(std::move(answer.icon));
}

void TBtnSetF::SpinEdit1Change() {
    ShowIcon(SpinEdit1.Value());
}

void TBtnSetF::ShowIcon(int number) {
    Image1.Clear();
    Forget(kPreviewSlot);
    if (number < 1) return;
    const std::wstring file = ComboBox1.Text();
    Ask(kPreviewSlot, file, [file, number, size = Scale(32)](FileAnswer& answer) {
        answer.number = number;
        answer.icon = ExtractIconAt(file, number - 1, size);
    });
}

void TBtnSetF::Ask(Slot slot, const std::wstring& file, std::function<void(FileAnswer&)> read) {
    const unsigned ticket = asked_.Ask(slot);
    try {
        reads_.Run(file, [answers = answers_.MakeSender(), asked = asked_.Shared(), slot, ticket, file,
                          read = std::move(read)] {
            // Replaced while it waited: the file is not asked again for nothing.
            if (!asked.Latest(ticket, slot)) return;
            FileAnswer answer;
            answer.slot = slot;
            answer.ticket = ticket;
            answer.file = file;
            try {
                read(answer);
            } catch (...) {
                // A file that could not be read says what an unreadable one does: no icons.
                answer.count = answer.number = 0;
                answer.icon.reset();
                answer.document = false;
            }
            answers.Put(std::move(answer));
        });
    } catch (...) {
        // No thread to ask: nothing is on its way, and the field stays as it is.
        asked_.CancelAnswers(slot);
        throw;
    }
}

void TBtnSetF::Forget(Slot slot) {
    asked_.CancelAnswers(slot);
}

bool TBtnSetF::ReadsPending() const {
    return asked_.Pending();
}

void TBtnSetF::FilesAnswered() {
    for (FileAnswer& answer : answers_.Take()) {
        if (!asked_.Take(answer.slot, answer.ticket)) continue;
        switch (answer.slot) {
        case kProgramSlot: ProgramAnswered(answer); break;
        case kIconFileSlot: IconFileAnswered(answer); break;
        case kPreviewSlot:
            if (answer.file == ComboBox1.Text() && answer.number == SpinEdit1.Value())
                Image1.SetIcon(std::move(answer.icon));
            break;
        default: break;
        }
    }
}

LRESULT TBtnSetF::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFilesAnsweredMessage) {
        FilesAnswered();
        return 0;
    }
    return ui::Form::Dispatch(message, wParam, lParam);
}

void TBtnSetF::Button1Click() {
    OpenDialog1.FilterIndex = 1;
    OpenDialog1.Title = L"実行するﾌﾟﾛｸﾞﾗﾑや文書の選択";
    if (OpenDialog1.Execute(Handle())) Edit1.SetText(OpenDialog1.FileName);
    Edit1Change();
}

void TBtnSetF::Button2Click() {
    OpenDialog1.FilterIndex = 2;
    OpenDialog1.Title = L"ｱｲｺﾝﾌｧｲﾙの選択";
    if (OpenDialog1.Execute(Handle())) ComboBox1.SetText(OpenDialog1.FileName);
    ComboBox1Change();
}

void TBtnSetF::Button3Click() {
    Edit1.SetText(L"");
    ComboBox1.SetText(L"");
    SpinEdit1.SetValue(0);
    Edit3.SetText(L"");
    Edit4.SetText(L"");
    Edit5.SetText(L"");
    Image1.Clear();
}

void TBtnSetF::Button4Click() {
    const int n = ButtonNo;
    ButtonRecord record;
    record.Program = Edit1.Text();
    record.IconFile = ComboBox1.Text();
    record.IconIndex = SpinEdit1.Value() - 1;
    record.WorkFolder = Edit3.Text();
    record.Options = Edit5.Text();
    record.Hint = Edit4.Text();
    // The panel's picture and hint follow; then the record is saved.
    launcher_.SetButton(n, std::move(record));
    launcher_.SaveButtons({n});
    panel_.Show();
    Button5Click();
}

void TBtnSetF::Button5Click() {
    // The end of the set-details mode: the panel, which holds the dialog, lets it go.
    launcher_.ChangeMode(SettingsDialogClosed());
}
