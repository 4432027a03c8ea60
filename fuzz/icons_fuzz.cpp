// Icon directories: any first bytes of a file, and any file size, are judged without reading past them.

#include "FuzzInput.h"
#include "components/IconFileRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    std::uint64_t fileSize = 0;
    for (int i = 0; i < 8; ++i)
        fileSize = (fileSize << 8) | data[i];
    const std::uint8_t* head = data + 8;
    const std::size_t available = size - 8;
    const std::size_t needed = IconDirectoryBytesNeeded(head, available);
    FUZZ_CHECK(needed >= 6 && needed <= 6 + 16 * 65535);
    if (IconDirectorySound(head, available, fileSize) && available >= 6 && head[0] == 0 && head[1] == 0 &&
        (head[2] == 1 || head[2] == 2) && head[3] == 0)
        FUZZ_CHECK(needed <= available && needed <= fileSize);
    return 0;
}
