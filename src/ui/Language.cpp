#include "ui/Language.h"

#include "base/Exception.h"

#include <windows.h>

#include <map>

namespace ui {

namespace {

std::optional<Language> g_chosen;

// The strings of one block of a string table (16 to a block, each counted), in one language.
std::vector<std::wstring> StringBlock(HMODULE module, WORD block, LANGID language) {
    std::vector<std::wstring> strings(16);
    const HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
    if (!found) return strings;
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* at = static_cast<const WCHAR*>(loaded ? LockResource(loaded) : nullptr);
    if (!at) return strings;
    const auto* end = at + SizeofResource(module, found) / sizeof(WCHAR);
    for (std::wstring& text : strings) {
        if (at >= end) break;
        const WORD length = *at++;
        if (at + length > end) break;
        text.assign(at, length);
        at += length;
    }
    return strings;
}

BOOL CALLBACK CollectBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<WORD>*>(blocks)->push_back(LOWORD(name));
    return TRUE;
}

const std::vector<TextPair>& Table() {
    static const std::vector<TextPair> table = [] {
        std::vector<TextPair> pairs;
        const HMODULE module = GetModuleHandleW(nullptr);
        std::vector<WORD> blocks;
        EnumResourceNamesW(module, RT_STRING, CollectBlock, reinterpret_cast<LONG_PTR>(&blocks));
        for (WORD block : blocks) {
            const auto japanese = StringBlock(module, block, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
            const auto english = StringBlock(module, block, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
            for (std::size_t i = 0; i < japanese.size(); ++i)
                if (!japanese[i].empty()) pairs.push_back({japanese[i], english[i]});
        }
        return pairs;
    }();
    return table;
}

} // namespace

Language ProgramLanguage() {
    if (g_chosen) return *g_chosen;
    static const Language user =
        PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::Japanese : Language::English;
    return user;
}

void ChooseLanguageForTests(std::optional<Language> language) {
    g_chosen = language;
}

std::wstring Localized(const std::wstring& japanese) {
    if (ProgramLanguage() == Language::Japanese || japanese.empty()) return japanese;
    static const std::map<std::wstring, std::wstring> english = [] {
        std::map<std::wstring, std::wstring> map;
        for (const TextPair& pair : Table())
            if (!pair.english.empty()) map.emplace(pair.japanese, pair.english);
        return map;
    }();
    if (const auto found = english.find(japanese); found != english.end()) return found->second;
    // A text made of lines (a balloon of several held keys, an error and its path): each on its own.
    if (const auto newline = japanese.find(L'\n'); newline != std::wstring::npos)
        return Localized(japanese.substr(0, newline)) + L'\n' + Localized(japanese.substr(newline + 1));
    // A text made from a pattern with "%s" (a button's number, a key, a path): the English pattern, with
    // what stood in for "%s".
    for (const auto& [pattern, translation] : english) {
        const auto at = pattern.find(L"%s");
        if (at == std::wstring::npos || japanese.size() < pattern.size() - 2) continue;
        const std::wstring_view text(japanese), before(pattern.data(), at), after(pattern.data() + at + 2);
        if (text.starts_with(before) && text.ends_with(after))
            return FormatMessageText(translation,
                                     text.substr(before.size(), text.size() - before.size() - after.size()));
    }
    return japanese;
}

std::vector<TextPair> TranslationTable() {
    return Table();
}

} // namespace ui
