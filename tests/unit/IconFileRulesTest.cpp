// Icon files whose directory reaches beyond the file are kept from the icon functions.

#include "components/IconFileRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

// An icon file's first bytes: the directory of count entries, each with its image's size and offset.
std::vector<std::uint8_t> IconHead(int type, std::vector<std::pair<std::uint32_t, std::uint32_t>> entries) {
    std::vector<std::uint8_t> head{0,
                                   0,
                                   static_cast<std::uint8_t>(type),
                                   0,
                                   static_cast<std::uint8_t>(entries.size()),
                                   static_cast<std::uint8_t>(entries.size() >> 8)};
    for (auto [size, offset] : entries) {
        const std::uint8_t fixed[8] = {32, 32, 0, 0, 1, 0, 32, 0};
        head.insert(head.end(), fixed, fixed + 8);
        for (std::uint32_t value : {size, offset})
            for (int i = 0; i < 4; ++i)
                head.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return head;
}

bool Sound(const std::vector<std::uint8_t>& head, std::uint64_t fileSize) {
    return IconDirectorySound(head.data(), head.size(), fileSize);
}

} // namespace

TEST(IconFiles, ADirectoryMustStayInsideItsFile) {
    EXPECT_TRUE(Sound(IconHead(1, {{100, 22}}), 122));
    EXPECT_TRUE(Sound(IconHead(2, {{100, 38}, {50, 138}}), 188)); // a cursor file, two images
    EXPECT_FALSE(Sound(IconHead(1, {{100, 22}}), 121));           // the image runs past the end
    EXPECT_FALSE(Sound(IconHead(1, {{100, 10}}), 200));           // the image overlaps the directory
    EXPECT_FALSE(Sound(IconHead(1, {{0, 22}}), 200));             // an empty image
    EXPECT_FALSE(Sound(IconHead(1, {{0xFFFFFFFF, 0x7FFFFFFF}}), 200));
    EXPECT_FALSE(Sound(IconHead(1, {}), 100)); // no images at all
    // A count larger than the bytes read, or the file.
    auto claims = IconHead(1, {{10, 22}});
    claims[4] = 0xFF;
    claims[5] = 0xFF;
    EXPECT_EQ(IconDirectoryBytesNeeded(claims.data(), claims.size()), 6u + 16u * 65535u);
    EXPECT_FALSE(Sound(claims, 1024));
    // Other files are for the icon functions to judge.
    const std::vector<std::uint8_t> program{'M', 'Z', 0x90, 0, 3, 0};
    EXPECT_TRUE(Sound(program, 6));
    EXPECT_EQ(IconDirectoryBytesNeeded(program.data(), program.size()), 6u);
    EXPECT_TRUE(Sound({}, 0));
}
