// The block-wise CR search must report exactly the CRs a byte-by-byte search finds,
// wherever they fall relative to its 64-byte chunks and the block's end.
#include "conversion/cr_finder.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quenlo::test {
namespace {

std::vector<std::size_t> CrsOneByOne(const std::string& text, std::size_t from) {
    std::vector<std::size_t> at;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\r') {
            at.push_back(i);
        }
    }
    return at;
}

std::vector<std::size_t> CrsByFinder(const std::string& text, std::size_t from) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    ByteCrFinder finder(begin + from, end);
    std::vector<std::size_t> at;
    for (const char* p = begin + from;;) {
        const char* cr = finder.Find(p);
        if (cr == end) {
            return at;
        }
        at.push_back(static_cast<std::size_t>(cr - begin));
        p = cr + 1;
    }
}

TEST(ByteCrFinder, FindsEveryCrAcrossChunkEdgesAndAtTheEnd) {
    std::mt19937 random(7);
    const std::string alphabet = "\r\r\n \xB0\x8Dx";  // 0x8D: a CR with the high bit set
    for (std::size_t size = 0; size <= 200; ++size) {
        for (std::size_t from : {std::size_t{0}, std::size_t{1}, std::size_t{63}}) {
            if (from > size) {
                continue;
            }
            std::string text(size, 'x');
            for (char& c : text) {
                c = alphabet[random() % alphabet.size()];
            }
            SCOPED_TRACE(testing::Message() << "size " << size << " from " << from);
            EXPECT_EQ(CrsByFinder(text, from), CrsOneByOne(text, from));
        }
    }
}

TEST(ByteCrFinder, CrsOnChunkBoundariesAndPositionsSkippedAhead) {
    std::string text(300, 'x');
    for (std::size_t at : {0, 63, 64, 127, 128, 191, 255, 299}) {
        text[at] = '\r';
    }
    EXPECT_EQ(CrsByFinder(text, 0),
              (std::vector<std::size_t>{0, 63, 64, 127, 128, 191, 255, 299}));

    // Asking from a later position passes over the CRs before it, in this chunk and
    // beyond it.
    ByteCrFinder finder(text.data(), text.data() + text.size());
    EXPECT_EQ(finder.Find(text.data() + 1) - text.data(), 63);
    EXPECT_EQ(finder.Find(text.data() + 65) - text.data(), 127);
    EXPECT_EQ(finder.Find(text.data() + 192) - text.data(), 255);
    EXPECT_EQ(finder.Find(text.data() + 300), text.data() + 300);
}

}  // namespace
}  // namespace quenlo::test
