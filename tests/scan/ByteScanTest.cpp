#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/Cp1252.h"
#include "scan/ByteScan.h"
#include "support/Cp1252LowerTable.h"

namespace tarnwick {
namespace {

TEST(ByteScanTest, LoweringMatchesCodePageAtEveryLengthAndOffset) {
    std::vector<unsigned char> src(600);
    for (size_t i = 0; i < src.size(); ++i) {
        src[i] = static_cast<unsigned char>((i * 7 + i / 256) % 256);
    }
    for (size_t offset = 0; offset < 17; ++offset) {
        for (size_t n = 0; n + offset <= src.size(); n += 1 + n / 8) {
            std::vector<unsigned char> dst(n + 1, 0xEE);
            bytescan::LowerCp1252(dst.data(), src.data() + offset, n);
            for (size_t i = 0; i < n; ++i) {
                ASSERT_EQ(dst[i], test::kCp1252Lower[src[offset + i]])
                    << "byte " << int(src[offset + i]);
            }
            ASSERT_EQ(dst[n], 0xEE);  // nothing written past the end
        }
    }
}

TEST(ByteScanTest, FindPairsMatchesPlainScan) {
    std::mt19937 rng(3);
    for (int iteration = 0; iteration < 300; ++iteration) {
        std::vector<unsigned char> s(rng() % 200 + 10);
        for (auto& c : s) {
            c = "abc"[rng() % 3];
        }
        const size_t offset = rng() % 9;
        if (offset >= s.size()) {
            continue;
        }
        const size_t to = s.size() - offset;
        const size_t from = rng() % (to + 1);
        std::vector<size_t> expected;
        for (size_t i = from; i < to; ++i) {
            if (s[i] == 'a' && s[i + offset] == 'b') {
                expected.push_back(i);
            }
        }
        std::vector<size_t> hits;
        bytescan::FindPairs(s.data(), from, to, 'a', offset, 'b', [&](size_t i) {
            hits.push_back(i);
            return false;
        });
        ASSERT_EQ(hits, expected);
        // Stopping at the first hit.
        size_t first = SIZE_MAX;
        const bool stopped =
            bytescan::FindPairs(s.data(), from, to, 'a', offset, 'b', [&](size_t i) {
                first = i;
                return true;
            });
        ASSERT_EQ(stopped, !expected.empty());
        if (stopped) {
            ASSERT_EQ(first, expected.front());
        }
    }
}

}  // namespace
}  // namespace tarnwick
