#include "cli/profile.h"

#include "cli/utf8_path.h"
#include "model/strict_hex.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace sg::cli {

namespace {

const std::string DATA_KEY = "data";
const std::string PARAMS_KEY = "params";

std::size_t LineAt(const std::string &text, std::size_t offset)
{
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text.size()));
    return static_cast<std::size_t>(std::count(text.begin(), end, '\n')) + 1;
}

// Where a key is written, so that an error about its value points at it.
std::size_t LineOfKey(const std::string &text, const std::string &key)
{
    const std::size_t at = text.find('"' + key + '"');
    return LineAt(text, at == std::string::npos ? 0 : at);
}

std::string SystemReason()
{
    return std::error_code(errno, std::generic_category()).message();
}

// "parse error at line 2, column 13: syntax error ..." without the library's prefix and
// the position that the line number already gives.
std::string ParseReason(const nlohmann::json::parse_error &problem)
{
    const std::string text = problem.what();
    const std::size_t column = text.find("column ");
    const std::size_t colon = text.find(": ", column == std::string::npos ? 0 : column);
    return colon == std::string::npos ? text : text.substr(colon + 2);
}

std::optional<std::string> ReadWhole(const std::string &path, std::string &error)
{
    std::ifstream file(Utf8Path(path), std::ios::binary);
    if (!file) {
        error = path + ": " + SystemReason();
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::optional<model::Blocks> LoadProfile(const std::string &path, std::string &error)
{
    const std::optional<std::string> text = ReadWhole(path, error);
    if (!text)
        return std::nullopt;
    const auto fail = [&](std::size_t line, const std::string &message) {
        error = path + ":" + std::to_string(line) + ": " + message;
        return std::nullopt;
    };

    nlohmann::json document;
    try {
        document = nlohmann::json::parse(*text);
    } catch (const nlohmann::json::parse_error &problem) {
        return fail(LineAt(*text, problem.byte == 0 ? 0 : problem.byte - 1), ParseReason(problem));
    }
    if (!document.is_object())
        return fail(1, "expected an object {\"data\": \"...\", \"params\": \"...\"}");
    for (const auto &[key, value] : document.items()) {
        if (key != DATA_KEY && key != PARAMS_KEY)
            return fail(LineOfKey(*text, key), "unknown key \"" + key + "\"");
    }
    for (const std::string &key : {DATA_KEY, PARAMS_KEY}) {
        if (!document.contains(key) || !document[key].is_string())
            return fail(document.contains(key) ? LineOfKey(*text, key) : 1,
                        "\"" + key + "\" must be a string of hex digits");
    }

    std::string reason;
    const std::optional<model::DataBlock> data =
        model::ParseStrictData(document[DATA_KEY].get<std::string>(), reason);
    if (!data)
        return fail(LineOfKey(*text, DATA_KEY), "data: " + reason);
    const std::optional<model::ByteString> given =
        model::ParseStrictParamBytes(document[PARAMS_KEY].get<std::string>(), reason);
    const std::optional<model::ParamBlock> params =
        given ? model::CompleteParams(*given, data->size(), reason) : std::nullopt;
    if (!params)
        return fail(LineOfKey(*text, PARAMS_KEY), "params: " + reason);
    return model::Blocks{*data, *params};
}

bool SaveProfile(const std::string &path, const std::string &data, const std::string &params,
                 std::string &error)
{
    const nlohmann::json profile{{DATA_KEY, data}, {PARAMS_KEY, params}};
    const std::filesystem::path target = Utf8Path(path);
    std::filesystem::path temporary = target;
    temporary += "." + std::to_string(std::random_device()()) + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << profile.dump(4) << '\n';
        file.close();
        if (!file) {
            error = path + ": " + SystemReason();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, target, renamed);
    if (renamed) {
        error = path + ": " + renamed.message();
        std::filesystem::remove(temporary, renamed);
        return false;
    }
    return true;
}

} // namespace sg::cli
