#include "mascot/HelpRules.h"

HelpChoice ChooseHelp(bool helpFileExists, bool japaneseInterface) {
    if (helpFileExists) return {true, {}};
    return {false, japaneseInterface ? L"guide\\guide.ja.html" : L"guide\\guide.en.html"};
}

std::wstring GuideMissingMessage(const std::wstring& path) {
    return L"ヘルプを開けません。使い方のファイルがありません:\n" + path;
}
