// Reads one publisher page as a browser and a search engine read it and tells
// whether it links to the advertiser: the result word, the reason, and the
// evidence of the link's worth (PageEvidence). The bytes are handed over as
// they arrive, in pieces of any size; any split of the same bytes gives the
// same answer, and memory does not grow with the page (one token at most,
// bounded by Limits::maxPending).
//
// The page is tokenized as the HTML standard says (HtmlTokenizer), and a link
// counts only where a browser builds one: an <a> or <area> element, or an SVG
// <a>, with an href (SVG: also xlink:href) that, resolved against the page's
// address and the first <base href>, points to the advertiser
// (AdvertiserAddress). Nothing in a comment, a script, a style sheet, a
// <textarea>, a <title>, <noscript> (scripts are taken as running, as in
// browsers and in search engines that render pages), <template> content or
// after <plaintext> is a link.
//
// The result, the first that applies:
//   - no byte at all: "Page cannot be displayed";
//   - a link to the advertiser: "Link Found";
//   - the lowered bytes hold "page cannot be found" or "404 not found" after
//     their first byte: "Page Cannot be Found";
//   - otherwise "Link Not Found", with the nearest miss as its reason (a link
//     to another path of the advertiser's site, a link through a redirect on
//     another host, the address inside a comment, a script...).
//
// The HTTP status is not this class's business: PageFetcher judges it first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "scan/LinkResult.h"
#include "scan/PageEvidence.h"

namespace tarnwick {

class LinkFinder {
public:
    struct Limits {
        // A single token (a text run, comment or tag) longer than this ends
        // the reading of the page: what was found until then stays.
        std::size_t maxPending = 4u << 20;
    };

    // advertiser: the address as stored in the profile (Windows-1252), with or
    // without a scheme.
    explicit LinkFinder(const std::string& advertiser) : LinkFinder(advertiser, Limits{}) {}
    LinkFinder(const std::string& advertiser, Limits limits);
    ~LinkFinder();
    LinkFinder(const LinkFinder&) = delete;
    LinkFinder& operator=(const LinkFinder&) = delete;

    // The address the page was fetched from, after redirections: relative
    // links are resolved against it. Set it before the first byte.
    void setPageAddress(std::string_view address);
    // One header line of the answer as received (the line break may be
    // included); a status line starts a new answer.
    void headerLine(std::string_view line);
    // The next body bytes.
    void feed(std::string_view bytes);
    // The body has ended. Later feeds are ignored.
    void finish();

    // The result for the bytes fed so far, and why.
    LinkResult result() const;
    std::string reason() const;
    // True once later bytes cannot change the result nor the evidence.
    bool complete() const;
    std::uint64_t bytesFed() const;
    // True when a token ran past Limits::maxPending and reading stopped.
    bool readingStopped() const;

    // Facts the transfer knows at its end; finalUrl empty keeps none.
    void setTransfer(long httpStatus, const std::string& finalUrl, std::int64_t elapsedMs);
    // The evidence so far (complete after finish()); m_checked is set.
    const PageEvidence& evidence() const;
    PageEvidence takeEvidence();

private:
    class Reader;
    std::unique_ptr<Reader> m_reader;
};

}  // namespace tarnwick
