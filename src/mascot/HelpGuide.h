#pragma once
// The help item: the help file through the help engine when it lies beside the program (no current
// Windows has an engine for it otherwise), or else the user guide in the default browser.

#include <windows.h>

#include <functional>
#include <string>

class HelpGuide {
public:
    // Throws base::Exception, with a message for the user, when the guide is missing or will not open.
    // owner: the window the shell's messages about it belong to.
    static void Open(HWND owner);

    // Tests replace the shell's opening of the guide with this: it gets the guide's full path and says
    // whether it opened.
    static std::function<bool(const std::wstring& path)> Override;
};
