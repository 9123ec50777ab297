#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
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

// Every position where markup that matters may start is among the
// candidates, whatever the alignment and with or without high bytes.
TEST(ByteScanTest, MarkupCandidatesMissNothing) {
    const auto lowered = [](unsigned char c) {
        return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    };
    std::mt19937 rng(5);
    std::string alphabet = "<!?/&#mMeEsScCtThHwW.xz \x80\xC3";
    alphabet += '\0';
    for (int iteration = 0; iteration < 2000; ++iteration) {
        std::vector<unsigned char> s(rng() % 300 + 20);
        for (auto& c : s) {
            c = static_cast<unsigned char>(alphabet[rng() % alphabet.size()]);
        }
        const size_t lastOffset = rng() % 6;
        const size_t to = s.size() - std::max<size_t>(2, lastOffset);
        const size_t from = rng() % (to + 1);
        const bool high = rng() % 2 == 0;
        std::vector<size_t> expected;
        for (size_t i = from; i < to; ++i) {
            const auto at = [&](const char* word) {
                for (size_t k = 0; word[k] != 0; ++k) {
                    if (lowered(s[i + k]) != static_cast<unsigned char>(word[k])) {
                        return false;
                    }
                }
                return true;
            };
            if (at("<!") || at("<?") || at("<me") || at("<sc") || at("<st") || at("</h") ||
                at("&#") || s[i] == 0 || (high && s[i] >= 0x80) ||
                (lowered(s[i]) == 'w' && lowered(s[i + lastOffset]) == 'x')) {
                expected.push_back(i);
            }
        }
        std::vector<size_t> candidates;
        for (size_t i = from;; ++i) {
            i = bytescan::NextMarkupCandidate(s.data(), i, to, 'w', lastOffset, 'x', high);
            if (i >= to) {
                ASSERT_EQ(i, to);
                break;
            }
            candidates.push_back(i);
        }
        for (size_t i : expected) {
            ASSERT_TRUE(std::find(candidates.begin(), candidates.end(), i) != candidates.end())
                << "missed " << i;
        }
    }
}

}  // namespace
}  // namespace tarnwick
