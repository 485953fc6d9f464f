#pragma once

#include <filesystem>
#include <string>

namespace sg::cli {

// A path given in UTF-8, for a system that names files in UTF-16 as well as one that
// names them in bytes.
inline std::filesystem::path Utf8Path(const std::string &utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace sg::cli
