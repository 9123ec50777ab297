// One temporary data folder for a whole fuzzing run, and a way to put the
// input's bytes into one of its files.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "store/DataFolder.h"

namespace tarnwick::fuzz {

inline const DataFolder& folder() {
    static const DataFolder folder = [] {
        char pattern[] = "/tmp/tarnwick-fuzz-XXXXXX";
        const char* root = ::mkdtemp(pattern);
        DataFolder f(root != nullptr ? root : "/tmp");
        f.ensureExists();
        f.ensureProfilesFolder();
        return f;
    }();
    return folder;
}

inline void put(const std::string& path, const unsigned char* data, size_t size) {
    if (FILE* file = std::fopen(path.c_str(), "wb"); file != nullptr) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}

}  // namespace tarnwick::fuzz
