#pragma once
// How the profile functions keep a file's text, without Windows. They write a file in the system code page
// unless it begins with the UTF-16LE byte-order mark; such a file they read and write in Unicode. A value
// the code page cannot hold would come back as "?", so it turns the file into UTF-16LE first (Profile.cpp).
// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-writeprivateprofilestringw

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Whether the profile functions take these bytes of a file for UTF-16LE.
bool IsUnicodeProfile(std::string_view bytes);

// The bytes of a file holding the same text in UTF-16LE after the byte-order mark; nothing when the file
// is UTF-16LE already. decode reads the bytes in the code page, as the profile functions read them.
std::optional<std::string> UnicodeProfileBytes(std::string_view bytes,
                                               const std::function<std::wstring(std::string_view)>& decode);

// How WideCharToMultiByte can tell whether a text fits a code page. Most code pages report the default
// character they put in, with best-fit look-alikes ("e" for "ë") ruled out by WC_NO_BEST_FIT_CHARS. The
// code pages that take neither that flag nor the report (UTF-8, GB18030, UTF-7, ISO-2022, ISCII, Symbol)
// are asked by converting the text back and comparing.
// https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
enum class FitTest { UsedDefaultChar, RoundTrip };
FitTest FitTestFor(unsigned codePage);

// The attributes the settings file keeps after a save put a new file in its place: those it had, and the
// archive bit, which says to backup tools that it was written; only those SetFileAttributesW sets
// (FILE_ATTRIBUTE_NORMAL stands only alone, and never with the archive bit).
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-setfileattributesw
unsigned long AttributesAfterSave(unsigned long before);
