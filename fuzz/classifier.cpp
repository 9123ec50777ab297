// The page check on any bytes: it must not crash, and the page fed in pieces
// split at places chosen by the input must give the result, reason and
// evidence of the page fed whole. Layout of the input: one byte of address
// length, the address, one byte seeding the splits, then the page.
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "scan/LinkFinder.h"

using namespace tarnwick;

namespace {

struct Outcome {
    LinkResult result;
    std::string reason;
    PageEvidence evidence;
    bool operator==(const Outcome&) const = default;
};

template <class Split>
Outcome check(const std::string& address, const std::string& page, Split&& nextPiece) {
    LinkFinder finder(address, LinkFinder::Limits{64 * 1024});
    finder.setPageAddress("http://partner.example/dir/page.html");
    finder.headerLine("HTTP/1.1 200 OK\r\n");
    size_t at = 0;
    while (at < page.size()) {
        const size_t piece = std::min(page.size() - at, nextPiece());
        finder.feed(std::string_view(page).substr(at, piece));
        at += piece;
    }
    finder.finish();
    return {finder.result(), finder.reason(), finder.evidence()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const size_t addressLength = data[0] % 40;
    if (size < 2 + addressLength) {
        return 0;
    }
    const std::string address(reinterpret_cast<const char*>(data + 1), addressLength);
    const unsigned char seed = data[1 + addressLength];
    const std::string page(reinterpret_cast<const char*>(data + 2 + addressLength),
                           size - 2 - addressLength);
    const Outcome whole = check(address, page, [&page] { return page.size(); });
    std::minstd_rand random(static_cast<unsigned>(size * 2654435761u) ^ seed);
    const Outcome split = check(address, page, [&random] { return 1 + size_t(random() % 97); });
    if (!(whole == split)) {
        __builtin_trap();
    }
    return 0;
}
