#pragma once
// Resource ids shared by pmrun.rc and the code.

#define IDI_FORM_ICON 101 // the mascot window's own icon: 32 x 32, wholly transparent
#define IDI_TRAY_ICON 102 // the tray picture of the mascot, 16 x 16
