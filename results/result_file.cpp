#include "results/result_file.h"

#include <filesystem>
#include <system_error>

#include "core/app_state.h"
#include "platform/file_io.h"
#include "roster/field_reader.h"
#include "roster/text_file.h"

namespace tosbel {

namespace {

std::optional<std::vector<std::string>> readValues(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    const auto text = decodeTextFile(*bytes);
    if (!text) return std::nullopt;
    std::vector<std::string> values;
    for (FieldReader reader(*text); !reader.atEnd();) values.push_back(reader.next());
    return values;
}

}  // namespace

std::optional<std::vector<std::string>> readResultFile(const std::string& path) {
    auto values = readValues(path);
    if (values && values->size() > static_cast<std::size_t>(kSeatCount)) return std::nullopt;
    return values;
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

std::vector<std::string> readResultHistory(const std::string& programFolder) {
    auto values = readValues(resultHistoryPath(programFolder));
    if (!values) return {};
    // An empty line names no file: listing it would give a menu entry that
    // opens nothing.
    std::erase(*values, std::string());
    return std::move(*values);
}

}  // namespace tosbel
