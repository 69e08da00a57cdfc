#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tosbel {

// A field of a CSV file as spreadsheets write it: quoted, with its quotes
// doubled, only where a comma, a quote, a line break or a blank at an end
// would otherwise be read differently.
std::string csvField(std::string_view text);

// Splits text into rows of fields at `separator` (none: each line one field)
// and at line ends (CR LF, LF or CR). A field that starts with a double quote
// runs to its closing quote and may hold the separator, line breaks and
// doubled quotes; what follows the closing quote up to the separator belongs
// to the field too, as spreadsheets read it. An empty line is a row with no
// fields; a line end at the very end of the text gives no extra row.
std::vector<std::vector<std::string>> splitCsv(std::string_view text,
                                               std::optional<char> separator);

}  // namespace tosbel
