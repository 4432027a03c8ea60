#pragma once
// The settings file: a Windows profile (INI) file read and written key by key, so that it stays a
// plain profile file and keys no writer names are left as they are. It stays in the system code page while
// every value fits it, and becomes UTF-16LE, all it holds kept, before a value that does not is written.

#include "base/Exception.h"
#include "settings/ButtonRecord.h"
#include "settings/IniValues.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A write that failed; the message names the settings file, SystemError() the reason of the call that failed.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

class ProfileFile {
public:
    explicit ProfileFile(std::wstring path) : path_(std::move(path)) {}
    virtual ~ProfileFile() = default;
    ProfileFile(ProfileFile&&) = default;
    ProfileFile& operator=(ProfileFile&&) = delete;

    const std::wstring& Path() const { return path_; }
    bool Exists() const;
    // Where a change writes before it takes the file's place (WriteAsOneChange).
    std::wstring CopyPath() const { return path_ + L".saving"; }

    // At most kIniTextMax characters; the default when the key is missing.
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& fallback) const;
    // The integer rule of IniValues.h; the default when missing, empty or no integer.
    std::int32_t ReadInteger(const std::wstring& section, const std::wstring& key,
                             std::int32_t fallback) const;
    // The whole section in one read, for looking up many of its keys (FindIniValue): each read of a
    // single key opens the file anew. No entries for a missing section; nothing at all for one of more
    // than 16 M characters, which is then better read key by key.
    std::optional<std::vector<IniEntry>> ReadSection(const std::wstring& section) const;

    // Throw EIniFileException "<path> に書き込めません" when the key cannot be written, or a value outside
    // the code page cannot be kept because the file cannot be made UTF-16LE.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, std::int32_t value);

    // The writes as one change: they go to a copy beside the file, which then takes the file's place in
    // one step, keeping the file's attributes, security and creation time. A process killed half-way
    // leaves the file as it was, never cut short. Where no copy can be made (the folder takes no new
    // files) or the copy cannot take the file's place (another program holds the file open without
    // delete sharing), the writes go to the file itself, as single writes do. When a write fails, the
    // EIniFileException comes out and the file stays as it was; no copy is left behind either way, except
    // one that holds the only whole settings because the file is missing: a replace that failed half-way
    // leaves it so. The next start reads that copy, and the next change goes on from it.
    void WriteAsOneChange(const std::function<void()>& writes);

protected:
    // One key to the file; false when it could not be written.
    virtual bool WriteKey(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    // The file replaced takes the replacement's content in one step (ReplaceFileW); false when it did not.
    virtual bool Replace(const std::wstring& replaced, const std::wstring& replacement);
    // The file's data on the disk (FlushFileBuffers), before it replaces another: after a power cut the
    // disk then holds the old settings or the new ones, never an empty file.
    virtual void FlushToDisk(const std::wstring& path);
    // The file from takes to's name in one step, asked to write through (MoveFileExW).
    virtual bool MoveIntoPlace(const std::wstring& from, const std::wstring& to);

    // Where the writes go: the file, or the copy of a change in progress.
    const std::wstring& WritePath() const { return copyPath_.empty() ? path_ : copyPath_; }

private:
    struct Write {
        std::wstring section, key, value;
    };
    // What the file that takes the settings' place must keep of the one it follows, as ReplaceFileW keeps
    // it: the attributes (hidden) and the access list.
    struct Identity {
        std::uint32_t attributes = 0xFFFFFFFF; // none known
        std::vector<unsigned char> access;
    };
    void Put(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void KeepEveryCharacter(const std::wstring& text);
    // The file in UTF-16LE with all it holds, so that the profile functions write it in Unicode from here
    // on: written beside it and put in its place, never over it. False, the file as it was, when that fails.
    bool MakeUnicode(const std::wstring& path);
    bool BeginCopy();
    bool CopyTakesFilesPlace();
    void WriteInPlace();
    [[noreturn]] void Fail() const;

    std::wstring path_;
    std::wstring copyPath_;
    // The copy holds whole settings: made from the file, or left alone by a replace that failed half-way.
    bool copyIsWhole_ = false;
    Identity identity_;
    // The file last made UTF-16LE, which stays so.
    std::wstring unicodePath_;
    // The change in progress, kept to write it in place when the copy cannot take the file's place.
    std::vector<Write> writes_;
};

// The keys of one section, read in one go: each read of a single key opens the file anew, which the
// start-up feels. Read key by key only when the section is too large to read whole. Text and Integer
// answer as ProfileFile::ReadString and ReadInteger do.
class SectionValues {
public:
    SectionValues(const ProfileFile& file, std::wstring section);
    std::wstring Text(const std::wstring& key, const std::wstring& fallback = L"") const;
    std::int32_t Integer(const std::wstring& key, std::int32_t fallback) const;

private:
    const ProfileFile& file_;
    std::wstring section_;
    std::optional<std::vector<IniEntry>> entries_;
};

// Section "btn"N: read with the defaults, written in the order pg, ic, icidx, dr, lb, op.
ButtonRecord ReadButtonRecord(const ProfileFile& file, int number);
void WriteButtonRecord(ProfileFile& file, int number, const ButtonRecord& record);
