#include "components/IconFileRules.h"

namespace {

std::uint32_t Little(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

bool IsIconFile(const std::uint8_t* head, std::size_t available) {
    return available >= 6 && head[0] == 0 && head[1] == 0 && (head[2] == 1 || head[2] == 2) && head[3] == 0;
}

} // namespace

std::size_t IconDirectoryBytesNeeded(const std::uint8_t* head, std::size_t available) {
    if (!IsIconFile(head, available)) return 6;
    return 6 + 16 * static_cast<std::size_t>(Little(head + 4, 2));
}

bool IconDirectorySound(const std::uint8_t* head, std::size_t available, std::uint64_t fileSize) {
    if (!IsIconFile(head, available)) return true;
    const std::size_t count = Little(head + 4, 2);
    const std::uint64_t directoryEnd = 6 + 16 * static_cast<std::uint64_t>(count);
    if (count == 0 || directoryEnd > fileSize || directoryEnd > available) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = head + 6 + 16 * i;
        const std::uint64_t size = Little(entry + 8, 4);
        const std::uint64_t offset = Little(entry + 12, 4);
        if (size == 0 || offset < directoryEnd || offset + size > fileSize) return false;
    }
    return true;
}
