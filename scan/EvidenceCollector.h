// Gathers the evidence of one page (PageEvidence) from the transfer that
// fetches it: the header lines and the body bytes are handed over as they
// arrive, in pieces of any size, and the body goes through libxml2's HTML
// push parser (events only, no tree), so memory does not grow with the page.
// Any split of the same bytes gives the same evidence.
//
// From the body:
//   - the first <a> whose href holds the advertiser's address, letter case
//     ignored: its href, rel tokens (lowered) and text (blanks collapsed,
//     trimmed, cut to 200 characters; the alt text of an image inside when
//     the anchor has no text);
//   - whether the address occurs inside <script> and nowhere else (text or
//     attribute values);
//   - <meta name="robots"> and <meta name="googlebot">: noindex, nofollow,
//     none (both).
// From the header lines: the final answer's status, Content-Type and
// X-Robots-Tag (directives for every crawler and those addressed to
// "googlebot:"); a status line starts a new answer, so a redirection's
// headers are forgotten.
//
// Parsing ends as soon as the rest of the page cannot change the evidence:
// once the anchor has closed and the body has begun. Robots directives in a
// <meta> further down the body than the anchor are not read (search engines
// take them from the head).
//
// Most of a long page is markup that cannot change the evidence: no
// occurrence of the address, no <meta>, no script, style, comment or
// character reference. Once the body has begun and the parser stands
// between tags, a piece that a byte scan (ByteScan) finds made only of
// such tags and text is not handed to the parser at all; the parser goes on
// with the next piece that holds something, in the state the skipped tags
// would have left it in. Anything the scan cannot vouch for (a tag left open
// at the piece's end, bytes that might switch the parser's encoding, an
// address with characters that markup can write as references) is parsed.
//
// Markup the parser would have to hold more than Limits::maxPending bytes of
// (an unclosed comment or tag running on for megabytes) ends the parsing:
// the evidence found until then stays, memory stays bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "scan/PageEvidence.h"

namespace tarnwick {

class EvidenceCollector {
public:
    struct Limits {
        std::size_t maxPending = 4u << 20;
        // Off: every byte goes through the parser (tests compare both ways).
        bool skipPlainMarkup = true;
    };

    explicit EvidenceCollector(std::string advertiser)
        : EvidenceCollector(std::move(advertiser), Limits{}) {}
    EvidenceCollector(std::string advertiser, Limits limits);
    ~EvidenceCollector();
    EvidenceCollector(const EvidenceCollector&) = delete;
    EvidenceCollector& operator=(const EvidenceCollector&) = delete;

    // One header line as received (the line break may be included).
    void HeaderLine(std::string_view line);
    // The next body bytes.
    void Feed(std::string_view bytes);
    void Feed(const char* data, std::size_t size) { Feed(std::string_view(data, size)); }
    // The body has ended: the parser reads what it still holds. Later feeds
    // are ignored.
    void Finish();

    // Facts the transfer knows at its end; finalUrl empty keeps none.
    void SetTransfer(long httpStatus, const std::string& finalUrl, std::int64_t elapsedMs);

    // The evidence so far (complete after Finish). m_bChecked is set.
    const PageEvidence& Evidence() const { return m_evidence; }
    PageEvidence TakeEvidence() { return std::move(m_evidence); }

    // True once parsing has ended early on markup it cannot finish
    // (Limits::maxPending); not when the evidence was complete.
    bool ParsingStopped() const { return m_bStopped; }
    // Body bytes the parser was spared (see above).
    std::uint64_t BytesSkipped() const { return m_nSkipped; }

private:
    struct Parser;
    friend struct Parser;

    void Parse(std::string_view bytes, bool last);
    void Complete();
    // How bytes of 0x80 and more are taken while skipping, or no skipping.
    enum class HighBytesMode { Utf8, Inert, Parse, NoSkipping };
    HighBytesMode SkipMode() const;
    // Whether positions [from, to) of all hold nothing that may matter;
    // next is where the scan ended (at or past to).
    bool PlainBytes(std::string_view all, std::size_t from, std::size_t to, HighBytesMode high,
                    std::size_t& next) const;
    // Whether the held part and then m_strPending[0, cut) may be skipped.
    bool CanSkip(std::size_t cut) const;
    // The same for the held part and then bytes[0, cut).
    bool CanSkipBefore(std::string_view bytes, std::size_t cut);
    void StartElement(std::string_view name, const unsigned char** attributes);
    void EndElement(std::string_view name);
    void Text(std::string_view text);
    void NoteTextOutsideAnchor(std::string_view text, bool inScript);

    std::string m_strAddress;  // lowered
    Limits m_limits;
    PageEvidence m_evidence;
    std::unique_ptr<Parser> m_parser;
    std::string m_strPending;  // bytes from the last '<' on, not yet parsed
    bool m_bFinished = false;
    bool m_bStopped = false;
    bool m_bComplete = false;  // later bytes cannot change the evidence
    std::uint64_t m_nRestarts = 0;
    bool m_bAddressScannable = false;  // the byte scan finds every way to write it
    std::uint64_t m_nSkipped = 0;
    std::string m_strSeam;  // scratch: the held part and a few new bytes

    // Parse state.
    int m_nScriptDepth = 0;
    bool m_bInAnchor = false;
    bool m_bAnchorClosed = false;
    bool m_bBodySeen = false;
    std::string m_strAltText;  // first image alt inside the anchor
    bool m_bInScriptSeen = false;
    bool m_bElsewhereSeen = false;
    std::string m_strCarry;  // tail of the current text run, lowered
    std::size_t m_nAnchorChars = 0;
    bool m_bPendingBlank = false;
    bool m_bAnchorTextFull = false;
    bool m_bMetaNoindex = false;
    bool m_bMetaNofollow = false;
    bool m_bHeaderNoindex = false;
    bool m_bHeaderNofollow = false;
};

}  // namespace tarnwick
