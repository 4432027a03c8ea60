#pragma once
// How the mascot and the panel know each other: each sees only what it asks of the other, never the
// other's form. The program's root makes both and joins them.

#include "settings/Sections.h"

#include <windows.h>

#include <string>

// What the panel takes from the mascot: its picture for buttons without one, and the sizes.
// Sizes in 96-DPI units.
struct PanelLook {
    HICON fallbackIcon = nullptr; // not owned; outlives the panel
    int buttonSize = 38;
    int iconSize = 32;
};

// The panel as the mascot uses it: shows for an edge, a hover, a hot key and the tray icon, and drops.
class PanelForMascot {
public:
    // For an edge or a hover: the normal form, shown without taking the activation.
    virtual void ShowNormally() = 0;
    // The normal form alone, for a panel that shows already.
    virtual void NormalForm() = 0;
    // Icons only, rows of the normal height and a scroll step of one row.
    virtual void ResetToolBar() = 0;
    // Shown as the menu, the tray icon and an edit mode show it: in front, with the activation.
    virtual void ShowPanel() = 0;
    virtual void ShowForKeys() = 0;
    virtual void HideByKey() = 0;
    virtual void HidePanel() = 0;
    virtual void NoteUsersWindow(HWND window) = 0;
    // A dropped file to register when it has answered: on button target if it is free then, or on the
    // first free one (0). False when every button is taken already.
    virtual bool RegisterDropped(const std::wstring& path, int target) = 0;
    virtual int DropsPending() const = 0;
    virtual bool Shown() const = 0;
    virtual HWND Window() const = 0;
    // Where it is, as the settings file keeps it.
    virtual PanelBounds Bounds() const = 0;
    // Hidden and shown again, as OK in the options dialog does for a new row limit.
    virtual void ShowAnew() = 0;

protected:
    ~PanelForMascot() = default;
};

// The mascot as the panel uses it.
class MascotForPanel {
public:
    // The window that owns what the shell shows for a launch (its errors, an elevation prompt).
    virtual HWND Window() const = 0;
    // A drop begins to be read, or has been registered or failed to be.
    virtual void DropsChanged() = 0;

protected:
    ~MascotForPanel() = default;
};
