#include "scan/LinkClassifier.h"

#include <algorithm>
#include <cstring>

#include "common/Cp1252.h"
#include "scan/ByteScan.h"
#include "scan/StatusWords.h"

namespace tarnwick {
namespace {

constexpr std::string_view kNoSuchPage = "page cannot be found";
constexpr std::string_view kNotFound404 = "404 not found";
// Both phrases end in "found": candidates are found by its 'f' and 'd', then
// the bytes before it tell which phrase, if any, stands there.
constexpr std::size_t kNoSuchPageLead = kNoSuchPage.size() - 5;    // "page cannot be "
constexpr std::size_t kNotFound404Lead = kNotFound404.size() - 5;  // "404 not "
constexpr std::uint64_t kLookBack = 50;
constexpr std::string_view kLinkMarker = "href=";

}  // namespace

LinkClassifier::LinkClassifier(std::string address, Limits limits)
    : m_strAddress(std::move(address)),
      // Enough for the look-back of an occurrence that straddles pieces, and
      // for the lead of a phrase whose "found" does.
      m_nKeep(std::max(m_strAddress.size() + kLookBack + 14, kNoSuchPage.size() + 4)),
      m_limits(limits) {
    // The page is lowered as it arrives; the address once, the same way.
    for (char& c : m_strAddress) {
        c = static_cast<char>(Cp1252ToLower(static_cast<unsigned char>(c)));
    }
}

void LinkClassifier::Feed(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    while (size > 0 && !m_bPageNotFound) {
        const std::size_t piece = std::min(size, kPiece);
        FeedPiece(data, piece);
        data += piece;
        size -= piece;
    }
    // Once decided, later bytes only count.
    m_nTotal += size;
}

void LinkClassifier::FeedPiece(const unsigned char* data, std::size_t size) {
    const std::size_t keep = std::min(m_nBufLen, m_nKeep);
    if (keep < m_nBufLen) {
        std::memmove(m_buf.data(), m_buf.data() + (m_nBufLen - keep), keep);
        m_nBufStart += m_nBufLen - keep;
    }
    if (m_buf.size() < keep + size) {
        m_buf.resize(keep + size);
    }
    bytescan::LowerCp1252(m_buf.data() + keep, data, size);
    m_nBufLen = keep + size;
    m_nTotal += size;
    if (m_nHeadLen < sizeof m_head) {
        const std::size_t take = std::min(sizeof m_head - m_nHeadLen, size);
        std::memcpy(m_head + m_nHeadLen, m_buf.data() + keep, take);
        m_nHeadLen += take;
    }

    ScanPhrases();
    if (m_bPageNotFound || m_bLinkFound || m_strAddress.empty()) {
        return;
    }
    if (m_bAutomaton) {
        ScanAddressAutomaton();
    } else {
        ScanAddressFast();
    }
}

bool LinkClassifier::StartsWith(std::string_view phrase) const {
    return m_nHeadLen >= phrase.size() && std::memcmp(m_head, phrase.data(), phrase.size()) == 0;
}

void LinkClassifier::ScanPhrases() {
    if (m_nTotal < 5) {
        return;
    }
    const std::uint64_t last = m_nTotal - 5;  // last start of a complete "found"
    if (m_nNextPhrase > last) {
        return;
    }
    const unsigned char* buf = m_buf.data();
    bytescan::FindPairs(
        buf, m_nNextPhrase - m_nBufStart, last + 1 - m_nBufStart, 'f', 4, 'd', [&](std::size_t i) {
            if (std::memcmp(buf + i + 1, "oun", 3) != 0) {
                return false;
            }
            // A phrase counts at any position but the first; a page that
            // begins with a phrase never counts that phrase.
            const std::uint64_t at = m_nBufStart + i;
            if (at > kNoSuchPageLead &&
                std::memcmp(buf + i - kNoSuchPageLead, kNoSuchPage.data(), kNoSuchPageLead) == 0 &&
                !StartsWith(kNoSuchPage)) {
                m_bPageNotFound = true;
                m_bPhrase404 = false;
            } else if (at > kNotFound404Lead &&
                       std::memcmp(buf + i - kNotFound404Lead, kNotFound404.data(),
                                   kNotFound404Lead) == 0 &&
                       !StartsWith(kNotFound404)) {
                m_bPageNotFound = true;
                m_bPhrase404 = true;
            }
            return m_bPageNotFound;
        });
    m_nNextPhrase = last + 1;
}

long LinkClassifier::HrefBefore(std::uint64_t p) const {
    const std::uint64_t lo = std::max(m_nCut, p >= kLookBack ? p - kLookBack : 0);
    if (p < lo + kLinkMarker.size()) {
        return -1;
    }
    // Each '=' of the window with "href" before it, inside the window; the
    // last one is the nearest.
    const unsigned char* w = At(lo);
    const unsigned char* end = At(p);
    long distance = -1;
    for (const unsigned char* eq = w + 4; eq < end;) {
        eq = static_cast<const unsigned char*>(std::memchr(eq, '=', static_cast<size_t>(end - eq)));
        if (eq == nullptr) {
            break;
        }
        if (std::memcmp(eq - 4, "href", 4) == 0) {
            distance = static_cast<long>(end - eq - 1);
        }
        ++eq;
    }
    return distance;
}

bool LinkClassifier::Occurrence(std::uint64_t p) {
    ++m_nOccurrences;
    if (const long distance = HrefBefore(p); distance >= 0) {
        m_bLinkFound = true;
        m_nLinkDistance = static_cast<std::uint64_t>(distance);
        return true;
    }
    // The text now begins behind this occurrence.
    m_nCut = p + m_strAddress.size();
    return false;
}

void LinkClassifier::ScanAddressFast() {
    const std::size_t n = m_strAddress.size();
    if (m_nTotal < n) {
        return;
    }
    const std::uint64_t last = m_nTotal - n;  // last start of a complete occurrence
    const std::uint64_t first = std::max(m_nNextAddress, m_nCut);
    m_nNextAddress = std::max(m_nNextAddress, last + 1);
    if (first > last) {
        return;
    }
    const unsigned char* buf = m_buf.data();
    const auto* a = reinterpret_cast<const unsigned char*>(m_strAddress.data());
    bool tooCostly = false;
    std::uint64_t resumeAt = 0;
    bytescan::FindPairs(
        buf, first - m_nBufStart, last + 1 - m_nBufStart, a[0], n - 1, a[n - 1],
        [&](std::size_t i) {
            const std::uint64_t p = m_nBufStart + i;
            if (p < m_nCut) {
                return false;  // inside an occurrence already passed over
            }
            // First and last byte match; compare the ones between.
            if (n > 2 && std::memcmp(buf + i + 1, a + 1, n - 2) != 0) {
                m_nVerifyWork += n;
                if (m_nVerifyWork > m_limits.verifyAllowance + m_limits.verifyPerByte * m_nTotal) {
                    tooCostly = true;
                    resumeAt = p + 1;
                    return true;
                }
                return false;
            }
            return Occurrence(p);
        });
    if (tooCostly) {
        SwitchToAutomaton(std::max(resumeAt, m_nCut));
        ScanAddressAutomaton();
    }
}

void LinkClassifier::SwitchToAutomaton(std::uint64_t from) {
    const std::string& a = m_strAddress;
    m_failure.assign(a.size(), 0);
    for (std::size_t i = 1, k = 0; i < a.size(); ++i) {
        while (k > 0 && a[i] != a[k]) {
            k = m_failure[k - 1];
        }
        if (a[i] == a[k]) {
            ++k;
        }
        m_failure[i] = k;
    }
    m_bAutomaton = true;
    m_nState = 0;
    m_nAutomatonPos = from;
}

void LinkClassifier::ScanAddressAutomaton() {
    const std::size_t n = m_strAddress.size();
    const auto* a = reinterpret_cast<const unsigned char*>(m_strAddress.data());
    for (std::uint64_t pos = m_nAutomatonPos; pos < m_nTotal; ++pos) {
        const unsigned char c = *At(pos);
        while (m_nState > 0 && a[m_nState] != c) {
            m_nState = m_failure[m_nState - 1];
        }
        if (a[m_nState] == c) {
            ++m_nState;
        }
        if (m_nState == n) {
            m_nState = 0;  // the text restarts behind the occurrence
            if (Occurrence(pos + 1 - n)) {
                m_nAutomatonPos = pos + 1;
                return;
            }
        }
    }
    m_nAutomatonPos = m_nTotal;
}

const char* LinkClassifier::Result() const {
    if (m_nTotal == 0) {
        return kPageCannotBeDisplayed;
    }
    if (m_bPageNotFound) {
        return kPageCannotBeFound;
    }
    return m_bLinkFound ? kLinkFound : kLinkNotFound;
}

std::string LinkClassifier::Reason() const {
    if (m_nTotal == 0) {
        return "the page is empty";
    }
    if (m_bPageNotFound) {
        return std::string("\"") + (m_bPhrase404 ? "404 not found" : "page cannot be found") +
               "\" in the page";
    }
    if (m_bLinkFound) {
        return "link found " + std::to_string(m_nLinkDistance) +
               (m_nLinkDistance == 1 ? " character" : " characters") + " after href=";
    }
    if (m_strAddress.empty()) {
        return "the profile has no advertiser's address";
    }
    if (m_nOccurrences == 0) {
        return "the advertiser's address is not in the page";
    }
    return "the advertiser's address is in the page " + std::to_string(m_nOccurrences) +
           (m_nOccurrences == 1 ? " time" : " times") + ", never within 50 characters after href=";
}

}  // namespace tarnwick
