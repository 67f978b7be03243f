#pragma once

#include "base/ZString.h"

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// "file://" and the path with forward slashes; a Windows path has no leading slash, so a third
// one goes before its drive.
inline ZString fileUrl(const std::filesystem::path& path) {
    const std::u16string generic = path.generic_u16string();
    const ZString local(generic.c_str(), static_cast<int>(generic.size()));
    return ZString(local.startsWith(u'/') ? u"file://" : u"file:///") + local;
}

// A folder of its own, removed with everything in it, so parallel runs do not meet; upper-case
// letters in its path catch a loader that changes the case of what it reads.
class TemporaryFolder {
public:
    TemporaryFolder()
        : root_(std::filesystem::temp_directory_path() /
                ("Doxly-Test-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(root_ / "Mixed-Case");
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    // A folder left behind must not end the whole run from a destructor.
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::filesystem::path path(const char* name) const { return root_ / "Mixed-Case" / name; }

private:
    std::filesystem::path root_;
};
