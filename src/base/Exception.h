#pragma once
// The one base of the program's user-visible failures; the application's error box shows Message().
// Deliberately free of <windows.h> so that the platform-neutral rules can throw it too.

#include <exception>
#include <string>
#include <string_view>
#include <utility>

// UTF-8 of a wide text (UTF-16 or UTF-32, whichever wchar_t holds); for logs and what().
std::string ToUtf8(std::wstring_view text);

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)), what_(ToUtf8(message_)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::wstring message_;
    std::string what_;
};

// Puts arg in place of the first "%s" of a fixed message such as L"%s に書き込めません".
inline std::wstring FormatMessageText(std::wstring_view pattern, std::wstring_view arg) {
    std::wstring text(pattern);
    if (auto at = text.find(L"%s"); at != std::wstring::npos) text.replace(at, 2, arg);
    return text;
}
