#pragma once
// The button settings dialog: edits one launcher button record. Not modal; at most one exists, held by
// its slot while it does.

#include "components/Background.h"
#include "model/Launcher.h"
#include "ui/CommonDialogs.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

#include <cstdint>
#include <functional>

class TBtnSetF;

// The one button settings dialog while it exists. The program's root keeps the slot; the panel makes the
// dialog in it, and the end of the set-details mode lets it go.
class SettingsDialogSlot {
public:
    // Owned by the application, as every form; null while there is none.
    TBtnSetF* const& Dialog() const { return dialog_; }
    // A new dialog, hidden, for button number, beside the panel.
    TBtnSetF& Make(Launcher& launcher, ui::Form& panel, int number);
    // Closes and lets go of the dialog, if there is one.
    void Close();
    // The dialog is placed on the monitor of this window (the mascot's); null: the primary monitor.
    HWND placedBy = nullptr;

private:
    friend class TBtnSetF;
    TBtnSetF* dialog_ = nullptr;
};

class TBtnSetF : public ui::Form {
public:
    // Edits the launcher's records; placed beside the panel and shows it after a change.
    TBtnSetF(Launcher& launcher, ui::Form& panel, SettingsDialogSlot& slot);
    ~TBtnSetF() override;

    // The number (1..30) of the button being edited; set before the dialog is shown.
    std::int32_t ButtonNo = 0;

    // In tab order; the labels and the preview take no focus. The names are the designer's; each line
    // says what the control is.
    ui::Label Label1, Label3, Label4, Label2, Label5; // "実行ﾌﾟﾛｸﾞﾗﾑ", "作業ﾌｫﾙﾀﾞ", "実行ｵﾌﾟｼｮﾝ", "ﾋﾝﾄ文字", "ｱｲｺﾝﾌｧｲﾙ"
    ui::Edit Edit1;          // the program (or document, or folder) to start
    ui::Button Button1;      // "参照" for the program
    ui::Edit Edit3;          // the working folder
    ui::Edit Edit5;          // the options on the command line
    ui::Edit Edit4;          // the hint
    ui::ComboBox ComboBox1;  // the icon file, with two of the system's offered
    ui::Button Button2;      // "参照" for the icon file
    ui::SpinEdit SpinEdit1;  // the icon number, 1-based; 0 when the file has none
    ui::Button Button5;      // "ｷｬﾝｾﾙ"
    ui::Button Button3;      // "ｸﾘｱ"
    ui::Button Button4;      // "OK"
    ui::Panel Panel1;        // the frame of the preview
    ui::Edit Edit6;          // read-only: how many icons the file has
    ui::Image Image1;        // the preview of the chosen icon
    ui::OpenDialog OpenDialog1; // the browse dialog of both "参照" buttons

    void FormCreate();
    void FormShow();
    // The controls from record ButtonNo: program, icon file, icon number, hint, options, folder.
    void FillFromRecord();
    void Edit1Change();
    void ComboBox1Change();
    void SpinEdit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    // True while a file named in the fields has not answered yet.
    bool ReadsPending() const;

protected:
    void WindowCreated() override;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The files the fields name are read on other threads, as the panel's icons are: the dialog shows at
    // once, and fills in as the answers come. Each field has its own requests; an answer for a text the
    // field no longer holds is dropped.
    static constexpr UINT kFilesAnsweredMessage = WM_APP + 0x200;
    enum Slot : std::size_t { kProgramSlot, kIconFileSlot, kPreviewSlot, kSlotCount };
    struct FileAnswer {
        Slot slot = kProgramSlot;
        unsigned ticket = 0;
        std::wstring file;
        int count = 0;  // icons in the file
        int number = 0; // the icon number the icon is
        base::UniqueHicon icon;
        bool document = false;  // a program slot's file is a document ...
        std::wstring opensWith; // ... opened by this program
    };
    void Ask(Slot slot, const std::wstring& file, std::function<void(FileAnswer&)> read);
    // Drops what the slot has asked so far.
    void Forget(Slot slot);
    void FilesAnswered();
    void ProgramAnswered(const FileAnswer& answer);
    void IconFileAnswered(FileAnswer& answer);
    void PlaceBesidePanel();
    void ShowIcon(int number);

    Launcher& launcher_;
    ui::Form& panel_;
    SettingsDialogSlot& slot_;
    // The defaults last derived for the icon file and the folder: a field that still holds its default
    // follows the program path.
    std::wstring derivedIconFile_, derivedFolder_;
    // What the fields held when they were last asked about: an answer fills only a field that still does.
    struct ProgramAsk {
        std::wstring iconFile, folder;
    } programAsk_;
    int numberAsked_ = 0;
    background::Requests asked_{kSlotCount};
    background::PlaceQueues reads_{background::ThreadCom::Apartment};
    background::Mailbox<FileAnswer> answers_;
};


