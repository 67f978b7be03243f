#pragma once

#include "base/ZString.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

// The files of res/ as they go into the program, for comparison with what the program reads.
// DOXLY_RES_DIR is defined by the test executables that use this.
inline std::string resourceFileBytes(const char* name) {
    std::ifstream file(std::string(DOXLY_RES_DIR "/") + name, std::ios::binary);
    EXPECT_TRUE(file) << "cannot read " << name;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

inline ZString utf8Text(const std::string& bytes) {
    const std::u16string text = fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
    return ZString(text.c_str(), static_cast<int>(text.size()));
}

inline ZString resourceFileText(const char* name) {
    return utf8Text(resourceFileBytes(name));
}
