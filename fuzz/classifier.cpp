// The streaming classifier against the whole-page rule written the plain way
// (the tests' reference, with its own lowering), the page fed in pieces split
// at places chosen by the input. Layout of the input: one byte of address
// length, the address, one byte choosing the limits, then the page.
#include <cstdint>
#include <cstring>
#include <random>

#include "scan/LinkClassifier.h"
#include "scan/ReferenceClassifier.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const size_t addressLength = data[0] % 24;
    if (size < 2 + addressLength) {
        return 0;
    }
    const std::string address(reinterpret_cast<const char*>(data + 1), addressLength);
    const unsigned char choice = data[1 + addressLength];
    const std::string page(reinterpret_cast<const char*>(data + 2 + addressLength),
                           size - 2 - addressLength);
    LinkClassifier::Limits limits;
    if (choice & 1) {
        limits.verifyAllowance = choice >> 1;  // reach the automaton early
        limits.verifyPerByte = 0;
    }
    LinkClassifier classifier(address, limits);
    std::minstd_rand random(static_cast<unsigned>(size * 2654435761u) ^ choice);
    size_t at = 0;
    while (at < page.size()) {
        const size_t piece = std::min(page.size() - at, size_t(random() % 97));
        classifier.Feed(page.data() + at, piece);
        at += piece;
    }
    const std::string expected = test::ReferenceClassify(page, address);
    if (expected != classifier.Result()) {
        __builtin_trap();
    }
    return 0;
}
