#pragma once
// The options dialog: the program-wide options, shown modally from the mascot's menu.

#include "ui/Form.h"

class TOptSetF : public ui::Form {
public:
    TOptSetF();
    ~TOptSetF() override;
};

// The instance while the dialog is open; empty otherwise.
extern TOptSetF* OptSetF;
