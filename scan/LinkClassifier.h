// Decides a page's result from its bytes as they arrive, keeping only a small
// window of the text: memory stays within the address's length plus one
// piece of at most 64 KiB, and time is linear in the page's length.
//
// The result is the one the whole-page rule gives:
//   - no byte at all: "Page cannot be displayed";
//   - the lowered text holds "page cannot be found" or "404 not found" and
//     does not begin with that phrase: "Page Cannot be Found" (this wins over
//     everything below, wherever in the page the phrase stands);
//   - an occurrence of the address has "href=" within the 50 characters
//     before it: "Link Found". After an occurrence that has not, the text is
//     cut behind it: the next occurrence is searched from there and its 50
//     characters never reach back past the cut;
//   - otherwise (and always for an empty address): "Link Not Found".
// The page and the address are lowered alike (A-Z and the code page's other
// capitals), so an address stored as www.MySite.example matches a page that
// links to www.mysite.example. A zero byte is an ordinary byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class LinkClassifier {
public:
    // The search for the address filters candidates by their first and last
    // byte and compares the rest. Pages built to defeat that filter would make
    // the comparisons costly: once the bytes compared on candidates that were
    // not the address exceed allowance + perByte * (bytes fed), the search goes
    // on with an automaton that reads each byte once. Tests lower the limits
    // to reach that path.
    struct Limits {
        std::uint64_t verifyAllowance = 64 * 1024;
        std::uint64_t verifyPerByte = 4;
    };

    explicit LinkClassifier(std::string address) : LinkClassifier(std::move(address), Limits{}) {}
    LinkClassifier(std::string address, Limits limits);

    void Feed(std::string_view bytes);
    void Feed(const char* data, std::size_t size) { Feed(std::string_view(data, size)); }

    // True once later bytes cannot change the result ("Page Cannot be Found").
    bool Decided() const { return m_bPageNotFound; }
    // One of the four result words for the bytes fed so far.
    const char* Result() const;
    std::uint64_t BytesFed() const { return m_nTotal; }
    // Why Result() is what it is, in a few words: which phrase was seen, how
    // far after "href=" the link stood, how often the address occurred.
    std::string Reason() const;

    // Largest piece lowered at once; longer feeds are taken piece by piece.
    static constexpr std::size_t kPiece = 64 * 1024;

private:
    void FeedPiece(const unsigned char* data, std::size_t size);
    void ScanPhrases();
    void ScanAddressFast();
    void ScanAddressAutomaton();
    void SwitchToAutomaton(std::uint64_t from);
    bool StartsWith(std::string_view phrase) const;
    // The distance from the end of the nearest "href=" in the window before
    // position to position, or -1 when the window holds none.
    long HrefBefore(std::uint64_t position) const;
    // Handles a complete occurrence at absolute position p; true when it
    // qualifies as a link.
    bool Occurrence(std::uint64_t p);
    const unsigned char* At(std::uint64_t position) const {
        return m_buf.data() + (position - m_nBufStart);
    }

    std::string m_strAddress;
    std::size_t m_nKeep;               // bytes kept from one piece to the next
    std::vector<unsigned char> m_buf;  // lowered text from m_nBufStart on
    std::size_t m_nBufLen = 0;
    std::uint64_t m_nBufStart = 0;  // page position of m_buf[0]
    std::uint64_t m_nTotal = 0;     // bytes fed
    unsigned char m_head[20] = {};  // the page's first lowered bytes
    std::size_t m_nHeadLen = 0;

    bool m_bPageNotFound = false;
    bool m_bLinkFound = false;
    bool m_bPhrase404 = false;          // the phrase seen was "404 not found"
    std::uint64_t m_nOccurrences = 0;   // of the address, counted until the link
    std::uint64_t m_nLinkDistance = 0;  // characters between "href=" and the link
    std::uint64_t m_nNextPhrase = 0;    // "found" starts before this are examined
    std::uint64_t m_nNextAddress = 0;   // address starts before this are examined
    std::uint64_t m_nCut = 0;           // the text starts here after failed occurrences

    Limits m_limits;
    std::uint64_t m_nVerifyWork = 0;
    bool m_bAutomaton = false;
    std::vector<std::size_t> m_failure;  // prefix function of the address
    std::size_t m_nState = 0;            // matched length of the address
    std::uint64_t m_nAutomatonPos = 0;   // next position the automaton reads
};

}  // namespace tarnwick
