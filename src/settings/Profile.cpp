#include "settings/Profile.h"

#include "base/Handles.h"
#include "base/ScopeExit.h"
#include "settings/IniValues.h"
#include "settings/ProfileText.h"

#include <windows.h>

#include <vector>

namespace {

// A line break inside a value would end the key's line and could start a section of its own.
std::wstring SingleLineValue(std::wstring value) {
    for (wchar_t& c : value)
        if (c == L'\r' || c == L'\n') c = L' ';
    return value;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A copy carries the file's attributes; one with the read-only attribute can be neither written nor
// deleted until it loses it. A clean-up: the reason of the failure it follows stays the last error.
void RemoveFile(const std::wstring& path) {
    const base::LastErrorKept kept;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

std::vector<unsigned char> AccessOf(const std::wstring& path) {
    DWORD size = 0;
    GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> security(size);
    if (size == 0 || !GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, security.data(), size, &size))
        security.clear();
    return security;
}

// Windows' ReplaceFileW gives the copy the file's identity: its DACL, its creation time, and its attributes
// merged in. Wine's keeps neither DACL nor attributes, nor does a copy moved or copied into place, so they
// are put back where they differ, with the archive bit set as the write set it. (Creation time is Windows'
// alone to keep.) https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-replacefilew
void KeepIdentity(const std::wstring& path, DWORD attributes, const std::vector<unsigned char>& access) {
    if (!access.empty() && AccessOf(path) != access)
        SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, const_cast<unsigned char*>(access.data()));
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), AttributesAfterSave(attributes));
}


std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return text;
}

// Whether the profile functions write the text into a file of the system code page as it is. They
// convert with best fit, which would store "ë" as "e" and "한" as "?".
// https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-widechartomultibyte
bool FitsCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    const UINT codePage = GetACP();
    const bool roundTrip = FitTestFor(codePage) == FitTest::RoundTrip;
    const DWORD flags = roundTrip ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return false;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, nullptr,
                            roundTrip ? nullptr : &usedDefault) != length)
        return false;
    return roundTrip ? FromCodePage(codePage, bytes) == text : !usedDefault;
}

bool ReadWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    // The text must fit MultiByteToWideChar's int lengths.
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x3FFFFFFF) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    return bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                             got == bytes.size());
}

// A new file holding bytes; false when they could not all be written (a full disk, say).
bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
    base::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && (bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                &written, nullptr) &&
                                      written == bytes.size()));
}

} // namespace

void ProfileFile::WriteAsOneChange(const std::function<void()>& writes) {
    const base::ScopeExit discard([this] {
        // A copy that holds the only whole settings stays, for the next start to read, as it was.
        if (!copyPath_.empty() && (Exists() || !copyIsWhole_))
            RemoveFile(copyPath_);
        else if (!copyPath_.empty() && identity_.attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(copyPath_.c_str(), identity_.attributes);
        copyPath_.clear();
        writes_.clear();
    });
    const bool copied = BeginCopy();
    writes();
    if (copied && !CopyTakesFilesPlace()) WriteInPlace();
}

bool ProfileFile::BeginCopy() {
    const std::wstring copy = CopyPath();
    identity_ = {};
    unicodePath_.clear();
    if (!Exists() && IsFile(copy)) {
        // A replace that failed half-way left the whole settings in the copy alone: the change goes on
        // from there, and the copy, keeping what it inherited, then takes the file's place.
        identity_ = {GetFileAttributesW(copy.c_str()), AccessOf(copy)};
        if (!SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL)) Fail();
        copyPath_ = copy;
        copyIsWhole_ = true;
        return true;
    }
    // One left by a process ended half-way gives way.
    RemoveFile(copy);
    // The keys no writer names come along.
    if (CopyFileW(path_.c_str(), copy.c_str(), FALSE)) {
        // The copy must be writable; the file keeps its own attributes when the copy takes its place.
        if (!SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL)) {
            RemoveFile(copy);
            return false;
        }
        identity_ = {GetFileAttributesW(path_.c_str()), AccessOf(path_)};
        copyPath_ = copy;
        copyIsWhole_ = true;
        return true;
    }
    // A disk too full for the copy may leave part of it.
    RemoveFile(copy);
    // A folder that takes no new files may still hold a writable settings file: the keys then go to the
    // file itself.
    if (Exists()) return false;
    // No file yet: the copy starts empty.
    base::UniqueFileHandle file(
        CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    file.reset(); // only made here: the profile functions open it by its name
    copyPath_ = copy;
    copyIsWhole_ = false;
    return true;
}

// ReplaceFileW takes no write-through ("not supported"): the replacement's data is on the disk before.
// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-replacefilew
bool ProfileFile::Replace(const std::wstring& replaced, const std::wstring& replacement) {
    return ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr) != FALSE;
}

// A file system that cannot flush (some shares answer ERROR_INVALID_FUNCTION) still takes the save, as it
// would without this step.
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-flushfilebuffers
void ProfileFile::FlushToDisk(const std::wstring& path) {
    // The call needs a handle with write access.
    const base::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) FlushFileBuffers(file.get());
}

// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexw
bool ProfileFile::MoveIntoPlace(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool ProfileFile::MakeUnicode(const std::wstring& path) {
    // What the profile functions still hold of the file goes to disk, and they read it anew afterwards.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    std::string bytes;
    if (IsFile(path)) {
        const base::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !ReadWhole(file.get(), bytes)) return false;
    }
    const std::optional<std::string> unicode =
        UnicodeProfileBytes(bytes, [](std::string_view ansi) { return FromCodePage(CP_ACP, ansi); });
    if (!unicode) return true;
    // Written beside it and moved into its place in one step (a rename, never half done): the file may be
    // the only whole copy of the settings, and a disk that fills up half-way must not cut it short.
    const std::wstring fresh = path + L".unicode";
    const base::ScopeExit cleanup([&] { RemoveFile(fresh); });
    const Identity was{GetFileAttributesW(path.c_str()), AccessOf(path)};
    if (!WriteNewFile(fresh, *unicode)) return false;
    FlushToDisk(fresh);
    if (!MoveIntoPlace(fresh, path)) return false;
    KeepIdentity(path, was.attributes, was.access);
    return true;
}

bool ProfileFile::CopyTakesFilesPlace() {
    // The profile functions keep written files in a cache; flushing it puts the copy in the file, and the
    // file's data on the disk comes before its name takes the settings' place.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copyPath_.c_str());
    FlushToDisk(copyPath_);
    if (Exists()) {
        if (Replace(path_, copyPath_)) {
            KeepIdentity(path_, identity_.attributes, identity_.access);
            return true;
        }
        // The file as it was (another program may hold it): the keys go into it.
        if (Exists()) return false;
        // Without a backup name, a replace that failed half-way has removed the file and kept the copy,
        // which then holds the only whole settings.
    }
    if (MoveIntoPlace(copyPath_, path_) || CopyFileW(copyPath_.c_str(), path_.c_str(), TRUE)) {
        KeepIdentity(path_, identity_.attributes, identity_.access);
        return true;
    }
    // Whole settings in the copy alone are never given up for a file holding this change only.
    if (copyIsWhole_) Fail();
    return false;
}

void ProfileFile::WriteInPlace() {
    RemoveFile(copyPath_);
    copyPath_.clear();
    const std::vector<Write> writes = std::move(writes_);
    writes_.clear();
    for (const Write& w : writes)
        Put(w.section, w.key, w.value);
}

void ProfileFile::Fail() const {
    // Read before the message is made, which may allocate.
    const DWORD error = GetLastError();
    throw EIniFileException(FormatMessageText(L"%s に書き込めません", path_), error);
}

bool ProfileFile::Exists() const {
    return IsFile(path_);
}

std::wstring ProfileFile::ReadString(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& fallback) const {
    std::wstring value(kIniTextMax + 1, L'\0');
    DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), value.data(),
                                            static_cast<DWORD>(value.size()), path_.c_str());
    value.resize(length);
    return value;
}

std::optional<std::vector<IniEntry>> ProfileFile::ReadSection(const std::wstring& section) const {
    // The section comes back cut short, and its length two below the buffer's, when it does not fit.
    constexpr std::size_t kLongest = std::size_t{1} << 24;
    for (std::size_t size = 4096; size <= kLongest; size *= 2) {
        std::wstring block(size, L'\0');
        const DWORD length =
            GetPrivateProfileSectionW(section.c_str(), block.data(), static_cast<DWORD>(size), path_.c_str());
        if (length + 2 < size) {
            block.resize(length);
            return ParseSectionBlock(block);
        }
    }
    return std::nullopt;
}

SectionValues::SectionValues(const ProfileFile& file, std::wstring section)
    : file_(file), section_(std::move(section)), entries_(file.ReadSection(section_)) {}

std::wstring SectionValues::Text(const std::wstring& key, const std::wstring& fallback) const {
    if (!entries_) return file_.ReadString(section_, key, fallback);
    return FindIniValue(*entries_, key).value_or(fallback);
}

std::int32_t SectionValues::Integer(const std::wstring& key, std::int32_t fallback) const {
    return IniIntegerOr(Text(key), fallback);
}

std::int32_t ProfileFile::ReadInteger(const std::wstring& section, const std::wstring& key,
                                      std::int32_t fallback) const {
    return IniIntegerOr(ReadString(section, key, L""), fallback);
}

void ProfileFile::WriteString(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) {
    Put(section, key, SingleLineValue(value));
}

void ProfileFile::Put(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    KeepEveryCharacter(section + key + value);
    if (!WriteKey(section, key, value)) Fail();
    if (!copyPath_.empty()) writes_.push_back({section, key, value});
}

void ProfileFile::KeepEveryCharacter(const std::wstring& text) {
    // Files of the code page stay so while every value fits it.
    if (WritePath() == unicodePath_ || FitsCodePage(text)) return;
    if (!MakeUnicode(WritePath())) Fail();
    unicodePath_ = WritePath();
}

void ProfileFile::WriteInteger(const std::wstring& section, const std::wstring& key, std::int32_t value) {
    WriteString(section, key, IniIntegerText(value));
}

bool ProfileFile::WriteKey(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), WritePath().c_str()) !=
           FALSE;
}

ButtonRecord ReadButtonRecord(const ProfileFile& file, int number) {
    // Thirty buttons of six keys: one read per section keeps the start-up quick.
    const SectionValues button(file, ButtonSectionName(number));
    ButtonRecord record;
    record.Program = button.Text(L"pg");
    record.IconFile = button.Text(L"ic");
    record.IconIndex = button.Integer(L"icidx", 0);
    record.Options = button.Text(L"op");
    record.WorkFolder = button.Text(L"dr");
    record.Hint = button.Text(L"lb");
    return record;
}

void WriteButtonRecord(ProfileFile& file, int number, const ButtonRecord& record) {
    const std::wstring section = ButtonSectionName(number);
    file.WriteString(section, L"pg", record.Program);
    file.WriteString(section, L"ic", record.IconFile);
    file.WriteInteger(section, L"icidx", record.IconIndex);
    file.WriteString(section, L"dr", record.WorkFolder);
    file.WriteString(section, L"lb", record.Hint);
    file.WriteString(section, L"op", record.Options);
}
