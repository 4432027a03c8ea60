#pragma once
// The record a file, shortcut or folder dropped on the program makes. Read on a thread of the file's place:
// a shortcut is resolved, the program that opens a document found and the icon file checked, and any of
// these may wait on a share that does not answer.

#include "settings/ButtonRecord.h"

#include <optional>
#include <cstdint>
#include <string>

// The record of the file, then, for a folder, the record that opens it in Explorer; or the error that
// stopped its reading.
struct DroppedRecords {
    ButtonRecord file;
    std::optional<ButtonRecord> folder;
    std::wstring error;
    std::uint32_t systemError = 0; // of the call that failed, when one did
};

// Needs COM on the calling thread (the shortcut's link object).
DroppedRecords ReadDropped(const std::wstring& dropped);
