#pragma once
// The one base of the program's user-visible failures; the application's error box shows Message().
// Deliberately free of <windows.h> so that the platform-neutral rules can throw it too.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

// UTF-8 of a wide text (UTF-16 or UTF-32, whichever wchar_t holds); for logs and what().
std::string ToUtf8(std::wstring_view text);

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)), what_(ToUtf8(message_)) {}
    // With the system's error code of the call that failed, kept for whoever looks into it (what() tells
    // it); the user sees the message alone.
    Exception(std::wstring message, std::uint32_t systemError)
        : message_(std::move(message)), systemError_(systemError),
          what_(ToUtf8(message_) + (systemError ? " (error " + std::to_string(systemError) + ")" : "")) {}
    const std::wstring& Message() const noexcept { return message_; }
    // 0 when no system call's failure is behind it.
    std::uint32_t SystemError() const noexcept { return systemError_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::wstring message_;
    std::uint32_t systemError_ = 0;
    std::string what_;
};

// Puts arg in place of the first "%s" of a fixed message such as L"%s に書き込めません".
inline std::wstring FormatMessageText(std::wstring_view pattern, std::wstring_view arg) {
    std::wstring text(pattern);
    if (auto at = text.find(L"%s"); at != std::wstring::npos) text.replace(at, 2, arg);
    return text;
}
