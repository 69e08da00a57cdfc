#include "platform/csv.h"

namespace tosbel {

std::string csvField(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::vector<std::vector<std::string>> splitCsv(std::string_view text,
                                               std::optional<char> separator) {
    std::vector<std::vector<std::string>> rows;
    const auto lineEnd = [](char c) { return c == '\r' || c == '\n'; };
    std::size_t i = 0;
    while (i < text.size()) {
        std::vector<std::string> row;
        if (!lineEnd(text[i])) {
            for (;;) {
                std::string field;
                if (i < text.size() && text[i] == '"') {
                    for (++i; i < text.size(); ++i) {
                        if (text[i] != '"') {
                            field += text[i];
                        } else if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            ++i;
                        } else {
                            ++i;
                            break;
                        }
                    }
                }
                while (i < text.size() && !lineEnd(text[i]) && text[i] != separator) {
                    field += text[i++];
                }
                row.push_back(std::move(field));
                if (i == text.size() || text[i] != separator) break;
                ++i;
            }
        }
        if (i < text.size() && text[i] == '\r') {
            ++i;
            if (i < text.size() && text[i] == '\n') ++i;
        } else if (i < text.size()) {
            ++i;  // LF
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tosbel
