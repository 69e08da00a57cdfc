#include "roster/roster_file.h"

#include "core/app_state.h"
#include "platform/cp932.h"
#include "platform/field_reader.h"
#include "platform/file_io.h"
#include "platform/text_file.h"

namespace tosbel {

RosterRead parseRoster(std::string_view bytes) {
    const auto text = decodeTextFile(bytes);
    if (!text) return {FileError::NotText, {}};
    RosterRead result;
    FieldReader reader(*text);
    while (!reader.atEnd()) {
        if (static_cast<int>(result.names.size()) == kMaxMembers)
            return {FileError::TooManyNames, {}};
        result.names.push_back(reader.next());
        // The shuffle would take such a member for an empty seat and leave
        // the pupil without one.
        if (result.names.back() == kEmptySeatMark)
            return {FileError::ReservedName, {}, static_cast<int>(result.names.size())};
    }
    return result;
}

RosterRead readRoster(const std::string& path) {
    const auto bytes = readFileBytes(path);
    if (!bytes) return {FileError::CannotOpen, {}};
    return parseRoster(*bytes);
}

RosterWrite encodeRoster(const std::vector<std::string>& names, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int member = static_cast<int>(i) + 1;
        // A line break inside a name would split it into two members, and a
        // NUL would make the file unreadable.
        if (names[i].find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            return {FileError::Unrepresentable, member};
        }
        if (names[i] == kEmptySeatMark) return {FileError::ReservedName, member};
        const auto encoded = utf8ToCp932(names[i]);
        if (!encoded) return {FileError::Unrepresentable, member};
        bytes += *encoded;
        bytes += "\r\n";
    }
    return {};
}

RosterWrite writeRoster(const std::string& path, const std::vector<std::string>& names) {
    std::string bytes;
    const RosterWrite encoded = encodeRoster(names, bytes);
    if (encoded.error != FileError::None) return encoded;
    if (!replaceFile(path, bytes)) return {FileError::CannotWrite, 0};
    return {};
}

}  // namespace tosbel
