// The icon tool's .ico holds the window's picture, pixel for pixel, at every size.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "main_window/icon/icon_picture.h"

namespace quenlo {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le(const Bytes& b, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | b.at(at + static_cast<std::size_t>(i));
    }
    return value;
}

std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b.at(at)} << 24 | std::uint32_t{b.at(at + 1)} << 16 |
           std::uint32_t{b.at(at + 2)} << 8 | b.at(at + 3);
}

class IconFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A name of this process's own: CTest runs every test of the suite at once, each
        // in a process that makes the icon afresh.
        const std::string path = ::testing::TempDir() + "quenlo-test-" +
                                 std::to_string(std::random_device{}()) + ".ico";
        const std::string command = std::string("\"") + QUENLO_MAKE_ICON + "\" \"" + path + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        {
            std::ifstream file(path, std::ios::binary);
            ico_ = new Bytes(std::istreambuf_iterator<char>(file), {});
        }
        std::remove(path.c_str());
    }
    static void TearDownTestSuite() { delete ico_; }

    struct Entry {
        int size;
        Bytes data;
    };
    static std::vector<Entry> Entries() {
        const Bytes& ico = *ico_;
        std::vector<Entry> entries;
        for (std::uint32_t i = 0; i < Le(ico, 4, 2); ++i) {
            const std::size_t at = 6 + 16 * i;
            const int side = ico.at(at) == 0 ? 256 : ico.at(at);
            EXPECT_EQ(ico.at(at + 1), ico.at(at));  // square
            EXPECT_EQ(Le(ico, at + 6, 2), 32u);     // bits a pixel
            const std::uint32_t length = Le(ico, at + 8, 4);
            const std::uint32_t offset = Le(ico, at + 12, 4);
            EXPECT_LE(std::size_t{offset} + length, ico.size());
            entries.push_back({side, Bytes(ico.begin() + offset,
                                           ico.begin() + std::min<std::size_t>(offset + length, ico.size()))});
        }
        return entries;
    }

    static Bytes* ico_;
};
Bytes* IconFile::ico_ = nullptr;

TEST_F(IconFile, HoldsEverySizeOfWindowsIconViewsOneAfterAnother) {
    const Bytes& ico = *ico_;
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Le(ico, 0, 2), 0u);
    EXPECT_EQ(Le(ico, 2, 2), 1u);  // an icon
    std::vector<int> sizes;
    std::size_t end = 6 + 16 * Le(ico, 4, 2);
    for (std::uint32_t i = 0; i < Le(ico, 4, 2); ++i) {
        const std::size_t at = 6 + 16 * i;
        sizes.push_back(ico.at(at) == 0 ? 256 : ico.at(at));
        EXPECT_EQ(Le(ico, at + 12, 4), end) << "image " << i << " does not follow the one before";
        end += Le(ico, at + 8, 4);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    EXPECT_EQ(end, ico.size());
}

TEST_F(IconFile, BitmapsHoldThePictureBottomUpWithAMaskOverItsClearPixels) {
    for (const Entry& entry : Entries()) {
        if (entry.size == 256) {
            continue;
        }
        SCOPED_TRACE(entry.size);
        const int n = entry.size;
        const Bytes& d = entry.data;
        ASSERT_EQ(Le(d, 0, 4), 40u);
        EXPECT_EQ(Le(d, 4, 4), static_cast<std::uint32_t>(n));
        EXPECT_EQ(Le(d, 8, 4), static_cast<std::uint32_t>(2 * n));  // colour and mask
        EXPECT_EQ(Le(d, 14, 2), 32u);
        const std::size_t maskStride = (static_cast<std::size_t>(n) + 31) / 32 * 4;
        ASSERT_EQ(d.size(), 40 + 4u * n * n + maskStride * n);
        const std::vector<std::uint32_t> picture = QuenloIconPixels(n);
        int wrongColour = 0, wrongMask = 0;
        for (int y = 0; y < n; ++y) {
            const std::size_t row = static_cast<std::size_t>(n - 1 - y);  // bottom-up
            for (int x = 0; x < n; ++x) {
                const std::uint32_t want = picture[static_cast<std::size_t>(y * n + x)];
                wrongColour += Le(d, 40 + 4 * (row * n + x), 4) != want;
                const std::uint8_t maskByte = d[40 + 4u * n * n + row * maskStride + x / 8];
                const bool masked = maskByte & (0x80 >> (x % 8));
                wrongMask += masked != ((want >> 24) == 0);
            }
        }
        EXPECT_EQ(wrongColour, 0);
        EXPECT_EQ(wrongMask, 0);
    }
}

TEST_F(IconFile, LargestSizeIsAValidPngOfThePicture) {
    const std::vector<Entry> entries = Entries();
    ASSERT_FALSE(entries.empty());
    const Bytes& png = entries.back().data;
    ASSERT_EQ(entries.back().size, 256);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // Chunks: length, type, data, CRC over type and data.
    Bytes idat;
    std::size_t at = 8;
    std::string types;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = Be32(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types += type + " ";
        ASSERT_LE(at + 12 + length, png.size());
        const uLong crc = crc32(0L, png.data() + at + 4, length + 4);
        EXPECT_EQ(Be32(png, at + 8 + length), crc) << type;
        if (type == "IHDR") {
            EXPECT_EQ(Be32(png, at + 8), 256u);
            EXPECT_EQ(Be32(png, at + 12), 256u);
            EXPECT_EQ(png[at + 16], 8);  // bits a channel
            EXPECT_EQ(png[at + 17], 6);  // RGBA
        } else if (type == "IDAT") {
            idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        }
        at += 12 + length;
    }
    EXPECT_EQ(types, "IHDR IDAT IEND ");
    Bytes raw(256 * (1 + 256 * 4));
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, idat.data(), idat.size()), Z_OK);
    ASSERT_EQ(rawSize, raw.size());
    const std::vector<std::uint32_t> picture = QuenloIconPixels(256);
    int wrong = 0;
    for (std::size_t y = 0; y < 256; ++y) {
        const std::uint8_t* row = raw.data() + y * (1 + 256 * 4);
        EXPECT_EQ(row[0], 0) << "filter of row " << y;
        for (std::size_t x = 0; x < 256; ++x) {
            const std::uint8_t* p = row + 1 + 4 * x;
            const std::uint32_t argb = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 |
                                       std::uint32_t{p[1]} << 8 | p[2];
            wrong += argb != picture[y * 256 + x];
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace quenlo
