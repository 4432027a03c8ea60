// Path parts: any text splits into a folder and a name that make it up again.

#include "FuzzInput.h"
#include "base/PathParts.h"
#include "base/TextRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = WideText(data, size);
    FUZZ_CHECK(ExtractFilePath(path) + ExtractFileName(path) == path);
    const std::wstring ext = ExtractFileExt(path);
    FUZZ_CHECK(ext.empty() || ext.front() == L'.');
    FUZZ_CHECK(ExtractFileName(path).size() >= ext.size());
    FUZZ_CHECK(FileNameWithoutExt(path) + ext == ExtractFileName(path));
    FUZZ_CHECK(UpperAscii(path).size() == path.size());
    return 0;
}
