#include "platform/field_reader.h"

namespace tosbel {

namespace {
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
}  // namespace

void FieldReader::skipPastSeparator() {
    while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
}

std::string FieldReader::next() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;

    if (pos_ < text_.size() && text_[pos_] == '"') {
        const std::size_t start = pos_ + 1;
        std::size_t close = text_.find('"', start);
        if (close == std::string_view::npos) close = text_.size();
        pos_ = close < text_.size() ? close + 1 : close;
        skipPastSeparator();
        return std::string(text_.substr(start, close - start));
    }

    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) ++pos_;
    const std::string value(text_.substr(start, pos_ - start));
    skipPastSeparator();
    return value;
}

}  // namespace tosbel
