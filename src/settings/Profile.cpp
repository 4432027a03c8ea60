#include "settings/Profile.h"

#include "settings/IniValues.h"

#include <windows.h>

namespace {

// A line break inside a value would end the key's line and could start a section of its own.
std::wstring SingleLineValue(std::wstring value) {
    for (wchar_t& c : value)
        if (c == L'\r' || c == L'\n') c = L' ';
    return value;
}

} // namespace

ProfileFile::~ProfileFile() {
    if (!batchPath_.empty()) DeleteFileW(batchPath_.c_str());
}

ProfileFile::ProfileFile(ProfileFile&& other) noexcept
    : path_(std::move(other.path_)), batchPath_(std::move(other.batchPath_)) {
    other.batchPath_.clear();
}

void ProfileFile::BeginBatch() {
    if (!batchPath_.empty()) return;
    const std::wstring copy = path_ + L".saving";
    // The keys no writer names come along.
    if (CopyFileW(path_.c_str(), copy.c_str(), FALSE)) {
        batchPath_ = copy;
        return;
    }
    // A folder that takes no new files may still hold a writable settings file: the keys then go to the
    // file itself, as single writes do.
    if (Exists()) return;
    // No file yet: the copy starts empty.
    HANDLE file =
        CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    CloseHandle(file);
    batchPath_ = copy;
}

void ProfileFile::Commit() {
    if (batchPath_.empty()) return;
    // The profile functions keep written files in a cache; flushing it puts the copy on disk first.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, batchPath_.c_str());
    const bool moved =
        MoveFileExW(batchPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved) DeleteFileW(batchPath_.c_str());
    batchPath_.clear();
    if (!moved) throw EIniFileException(FormatMessageText(L"%s に書き込めません", path_));
}

bool ProfileFile::Exists() const {
    DWORD attributes = GetFileAttributesW(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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

std::int32_t ProfileFile::ReadInteger(const std::wstring& section, const std::wstring& key,
                                      std::int32_t fallback) const {
    return IniIntegerOr(ReadString(section, key, L""), fallback);
}

void ProfileFile::WriteString(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) {
    if (!WriteKey(section, key, SingleLineValue(value)))
        throw EIniFileException(FormatMessageText(L"%s に書き込めません", path_));
}

void ProfileFile::WriteInteger(const std::wstring& section, const std::wstring& key, std::int32_t value) {
    WriteString(section, key, IniIntegerText(value));
}

bool ProfileFile::WriteKey(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), WritePath().c_str()) !=
           FALSE;
}

ButtonRecord ReadButtonRecord(const ProfileFile& file, int number) {
    const std::wstring section = ButtonSectionName(number);
    // Thirty buttons of six keys: one read per section keeps the start-up quick.
    const auto entries = file.ReadSection(section);
    const auto text = [&](const wchar_t* key) {
        return entries ? FindIniValue(*entries, key).value_or(L"") : file.ReadString(section, key, L"");
    };
    ButtonRecord record;
    record.Program = text(L"pg");
    record.IconFile = text(L"ic");
    record.IconIndex = IniIntegerOr(text(L"icidx"), 0);
    record.Options = text(L"op");
    record.WorkFolder = text(L"dr");
    record.Hint = text(L"lb");
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
