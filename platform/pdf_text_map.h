#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tosbel {

// For one font: the code point a PDF names for a glyph, and the character
// that was drawn with it.
using CodeFixes = std::map<char16_t, char16_t>;
// The fixes of each font, by its PostScript name.
using FontCodeFixes = std::map<std::string, CodeFixes>;

// Puts right the glyph-to-text maps ("ToUnicode") of a PDF written by Qt,
// each font's map with that font's own fixes only, so searching or copying
// the names gives the characters drawn. Each code keeps its four hex digits:
// nothing in the file moves and its cross-references stay right. A file laid
// out otherwise, or a font not named in `fixes`, is left as it is.
std::string correctTextMaps(std::string pdf, const FontCodeFixes& fixes);

// The PostScript name a font's "name" table gives it, as PDF files name the
// font; empty when the table has none.
std::string postScriptName(std::string_view nameTable);

// Whether the bytes are a whole PDF file: a writer cut short by a full disk
// leaves no end-of-file mark.
bool pdfLooksWhole(std::string_view pdf);

}  // namespace tosbel
