// The three import formats over any bytes; the separator is the first byte.
#include <string_view>

#include "editing/ImportParsers.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    parseCsv(bytes);
    parsePlainText(bytes);
    if (size > 0) {
        parseSeparatedText(bytes.substr(1), std::string(1, bytes[0]));
    }
    parseSeparatedText(bytes, ";");
    parseSeparatedText(bytes, "");
    return 0;
}
