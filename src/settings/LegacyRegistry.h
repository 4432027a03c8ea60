#pragma once
// The older settings store under HKEY_CURRENT_USER\Software\Hoshiya\pmrun, read only. A value that is
// missing or of another type than expected reads as the default of its settings key.

#include "settings/ButtonRecord.h"
#include "settings/Sections.h"

#include <optional>

inline const std::wstring kLegacyKeyRoot = L"Software\\Hoshiya\\pmrun\\";

// Nullopt when the key "btnform" does not exist.
std::optional<PanelBounds> ReadLegacyPanelBounds();
// Nullopt when the key "btn"N does not exist.
std::optional<ButtonRecord> ReadLegacyButton(int number);
