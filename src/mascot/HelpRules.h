#pragma once
// Which help the help item opens; free of Windows so that the choice is tested directly.

#include <string>

// The help engine for the help file when it lies beside the program, or else one of the user guides.
struct HelpChoice {
    bool helpEngine = false;
    // The guide's path relative to the program's folder; empty with the help engine.
    std::wstring guide;
};

// The Japanese guide for a Japanese interface, the English one for any other.
HelpChoice ChooseHelp(bool helpFileExists, bool japaneseInterface);

// The message for a guide that is not where it should be.
std::wstring GuideMissingMessage(const std::wstring& path);
