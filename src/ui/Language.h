#pragma once
// The language the program speaks: Japanese on a Japanese user interface, English on every other. Every
// text the program shows is written in the code in Japanese, exactly as users of the Japanese program
// know it; the toolkit shows, in English, the text the string tables of resources/pmrun.rc give for it.
// The tables are resources with a LANGUAGE each, as Windows keeps translations; the Japanese text is the
// key, so that the Japanese program's texts and their tests stand as they are.

#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class Language { Japanese, English };

// By the user's interface language (GetUserDefaultUILanguage), unless a test chose one.
Language ProgramLanguage();
void ChooseLanguageForTests(std::optional<Language> language);

// The text to show for one of the program's Japanese texts: itself in Japanese; in English, its entry in
// the English table, or itself when it has none (a user's own text, a path).
std::wstring Localized(const std::wstring& japanese);

// Every Japanese text of the tables with its English one (empty where the English table lacks it).
struct TextPair {
    std::wstring japanese, english;
};
std::vector<TextPair> TranslationTable();

} // namespace ui
