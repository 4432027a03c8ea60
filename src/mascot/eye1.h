#pragma once
// The mascot "ぱむ太": the program's main window, a 31-pixel disc that floats above all windows. It holds
// the program-wide options, creates the launcher panel and saves everything when it closes.

#include "settings/Profile.h"
#include "settings/Sections.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

#include <string>

// Timers of the mascot window.
constexpr UINT_PTR kTimer1Id = 1; // eye tracking and edge triggers, every 100 ms
constexpr UINT_PTR kTimer2Id = 2; // brings the mascot back after a click on an eye

class TpamuF : public ui::Form, public EyeOptions {
public:
    // The option field named Color hides the form's colour getter; the window's colour is Form::Color().
    using EyeOptions::Color;

    TpamuF();
    ~TpamuF() override;

    std::wstring SettingsPath;
    int EditMode = 0;
    int FaceSize = 31;
    int ButtonSize = 38;
    int IconSize = 32;

    // Drawing order, bottom first.
    ui::Shape Shape1; // left eye
    ui::Shape Shape2; // right eye
    ui::Shape Shape4; // right pupil
    ui::Shape Shape3; // left pupil
    ui::Shape Shape5; // drop face, outer
    ui::Shape Shape6; // drop face, inner

    ui::Timer Timer1;
    ui::Timer Timer2;

    // The form's own icon: 32 x 32 and wholly transparent.
    HICON Icon() const { return icon_.get(); }

    // Recomputes SettingsPath from the executable's path and opens the file there.
    ProfileFile SettingsFile();
    void ReadIni();
    void WriteIni();
    void WriteBtnIni(int number);

    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void ApplicationActivate();
    void Shape1MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void Shape2MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
    void Timer2Timer();

protected:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void HideForTwoSeconds(ui::MouseButton button);
    ui::UniqueHicon icon_;
};

extern TpamuF* pamuF;
