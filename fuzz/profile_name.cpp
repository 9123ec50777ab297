// The profile-name rule over any text: a name never holds a "/", so a
// profile file (name + ".txt") never lands outside the Profiles folder.
#include <string>

#include "store/ProfileNames.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string host = hostPart(text);
    const std::string base = baseName(host);
    const std::string name = profileName(text);
    for (const std::string* s : {&base, &name}) {
        if (s->find('/') != std::string::npos) {
            __builtin_trap();
        }
    }
    numberedProfileName(base, 2);
    return 0;
}
