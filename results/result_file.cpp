#include "results/result_file.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "platform/cp932.h"
#include "platform/field_reader.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/text_file.h"

namespace tosbel {

namespace fs = std::filesystem;

namespace {

// A hand-edited history may be long; it is still read in one pass, and a
// file past this is not a history at all.
constexpr std::size_t kHistoryFileLimit = 16 * 1024 * 1024;

// The bytes of the character that starts at `at`; a stray byte is one.
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(length, text.size() - at);
}

bool isHistoryName(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name == "tosbel.ini";
}

std::optional<std::vector<std::string>> parseHistory(std::string_view bytes, std::size_t keep) {
    const auto text = decodeTextFile(bytes);
    if (!text) return std::nullopt;
    // The newest entries are the last ones: keep a window of them as the file
    // goes by, so a long file costs one pass and no more memory than the menu.
    std::deque<std::string> kept;
    for (FieldReader reader(*text); !reader.atEnd();) {
        std::string value = reader.next();
        // An empty line names no file: listing it would give a menu entry that
        // opens nothing.
        if (value.empty()) continue;
        if (kept.size() == keep) kept.pop_front();
        kept.push_back(std::move(value));
    }
    return std::vector<std::string>(std::make_move_iterator(kept.begin()),
                                    std::make_move_iterator(kept.end()));
}

}  // namespace

std::optional<UnsavableText> findUnsavable(std::string_view text, bool exact) {
    if (text.starts_with(' ') || text.starts_with('\t'))
        return UnsavableText{Unsavable::LeadingBlank, std::string(1, text.front())};
    if (text.starts_with('"')) return UnsavableText{Unsavable::LeadingQuote, "\""};
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view c = text.substr(at, characterLength(text, at));
        at += c.size();
        if (c == ",") return UnsavableText{Unsavable::Comma, ","};
        if (c == "\r" || c == "\n") return UnsavableText{Unsavable::LineBreak, std::string(c)};
        // A NUL makes the whole file unreadable: it marks a file that is not text.
        if (c == std::string_view("\0", 1))
            return UnsavableText{Unsavable::Unrepresentable, std::string(c)};
        if (static_cast<unsigned char>(c.front()) < 0x80) continue;
        const auto held = utf8ToCp932(c);
        if (!held || (exact && cp932ToUtf8(*held) != c))
            return UnsavableText{Unsavable::Unrepresentable, std::string(c)};
    }
    return std::nullopt;
}

std::optional<UnsavableSeat> findUnsavableSeat(const SeatTexts& seats) {
    for (std::size_t k = 0; k < seats.size(); ++k) {
        if (auto what = findUnsavable(seats[k]))
            return UnsavableSeat{static_cast<int>(k) + 1, std::move(*what)};
    }
    return std::nullopt;
}

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

std::optional<std::string> resultFileBytes(const SeatTexts& seats) {
    if (findUnsavableSeat(seats)) return std::nullopt;
    std::string bytes;
    for (const std::string& text : seats) {
        const auto encoded = utf8ToCp932(text);
        if (!encoded) return std::nullopt;
        bytes += *encoded;
        bytes += "\r\n";
    }
    return bytes;
}

bool writeResultFile(const std::string& path, const SeatTexts& seats) {
    const auto bytes = resultFileBytes(seats);
    return bytes && replaceFile(path, *bytes);
}

std::string resultHistoryPath(const std::string& programFolder) {
    const fs::path folder = pathOf(programFolder);
    const fs::path usual = folder / "Tosbel.ini";
    std::error_code ec;
    if (fs::exists(usual, ec)) return utf8Of(usual);
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (isHistoryName(utf8Of(entry.path().filename()))) return utf8Of(entry.path());
    }
    return utf8Of(usual);
}

bool isResultHistory(const std::string& path, const std::string& programFolder) {
    const fs::path chosen = pathOf(path);
    std::error_code ec;
    // A link to the history, or a second name of its file, is the history too.
    if (fs::equivalent(chosen, pathOf(resultHistoryPath(programFolder)), ec)) return true;
    if (!isHistoryName(utf8Of(chosen.filename()))) return false;
    const fs::path folder = chosen.parent_path().empty() ? fs::path(".") : chosen.parent_path();
    return fs::equivalent(folder, pathOf(programFolder), ec);
}

std::vector<std::string> parseResultHistory(std::string_view bytes) {
    return parseHistory(bytes, kResultHistoryLength).value_or(std::vector<std::string>{});
}

HistoryRead loadResultHistory(const std::string& programFolder, std::size_t keep) {
    const std::string path = resultHistoryPath(programFolder);
    std::error_code ec;
    if (fs::status(pathOf(path), ec).type() == fs::file_type::not_found)
        return {HistoryFile::Missing, {}};
    const auto bytes = readFileBytes(path, kHistoryFileLimit);
    auto entries = bytes ? parseHistory(*bytes, keep) : std::nullopt;
    if (!entries) return {HistoryFile::Unreadable, {}};
    return {HistoryFile::Read, std::move(*entries)};
}

std::vector<std::string> readResultHistory(const std::string& programFolder) {
    return loadResultHistory(programFolder).entries;
}

void appendResultHistory(std::vector<std::string>& entries, std::string path) {
    entries.push_back(std::move(path));
    if (entries.size() > kResultHistoryLength)
        entries.erase(
            entries.begin(),
            entries.begin() + static_cast<std::ptrdiff_t>(entries.size() - kResultHistoryLength));
}

std::string resultHistoryBytes(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const std::string& path : entries) {
        if (path.empty() || findUnsavable(path, true)) continue;
        const auto encoded = utf8ToCp932(path);
        if (!encoded) continue;
        bytes += *encoded;
        bytes += "\r\n";
    }
    return bytes;
}

bool writeResultHistory(const std::string& programFolder, const std::vector<std::string>& entries) {
    return replaceFile(resultHistoryPath(programFolder), resultHistoryBytes(entries));
}

HistoryUpdate recordInResultHistory(const std::string& programFolder, const std::string& path) {
    const FolderLock lock(programFolder);
    HistoryUpdate update;
    HistoryRead history = loadResultHistory(programFolder);
    update.file = history.file;
    appendResultHistory(history.entries, path);
    update.entries = std::move(history.entries);
    update.written = writeResultHistory(programFolder, update.entries);
    return update;
}

}  // namespace tosbel
