#include "results/result_file.h"

#include <deque>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "core/app_state.h"
#include "platform/field_reader.h"
#include "platform/file_io.h"
#include "platform/text_file.h"

namespace tosbel {

namespace {

// A hand-edited history may be long; it is still read in one pass, and a
// file past this is not a history at all.
constexpr std::size_t kHistoryFileLimit = 16 * 1024 * 1024;

}  // namespace

std::optional<std::vector<std::string>> parseResultFile(std::string_view bytes) {
    const auto text = decodeTextFile(bytes);
    if (!text) return std::nullopt;
    std::vector<std::string> values;
    for (FieldReader reader(*text); !reader.atEnd();) {
        if (values.size() == static_cast<std::size_t>(kSeatCount)) return std::nullopt;
        values.push_back(reader.next());
    }
    return values;
}

std::optional<std::vector<std::string>> readResultFile(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return parseResultFile(*bytes);
}

std::string resultHistoryPath(const std::string& programFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(programFolder);
    const fs::path usual = folder / "Tosbel.ini";
    std::error_code ec;
    if (fs::exists(usual, ec)) return usual.string();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        for (char& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (name == "tosbel.ini") return entry.path().string();
    }
    return usual.string();
}

std::vector<std::string> parseResultHistory(std::string_view bytes) {
    const auto text = decodeTextFile(bytes);
    if (!text) return {};
    // The newest entries are the last ones: keep a window of them as the file
    // goes by, so a long file costs one pass and no more memory than the menu.
    std::deque<std::string> kept;
    for (FieldReader reader(*text); !reader.atEnd();) {
        std::string value = reader.next();
        // An empty line names no file: listing it would give a menu entry that
        // opens nothing.
        if (value.empty()) continue;
        if (kept.size() == kResultHistoryLength) kept.pop_front();
        kept.push_back(std::move(value));
    }
    return {std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end())};
}

std::vector<std::string> readResultHistory(const std::string& programFolder) {
    const auto bytes = readFileBytes(resultHistoryPath(programFolder), kHistoryFileLimit);
    if (!bytes) return {};
    return parseResultHistory(*bytes);
}

}  // namespace tosbel
