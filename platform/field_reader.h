#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tosbel {

// Reads a text file value by value, the way every data file of the program has
// always been read back: a value ends at a comma or a line end (CR, LF or
// CR LF), blanks before it are skipped, a value that starts with a double quote
// runs to the next double quote. A line end at the very end of the text gives no
// extra value; an empty line gives an empty one.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    std::string next();

private:
    void skipPastSeparator();

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace tosbel
