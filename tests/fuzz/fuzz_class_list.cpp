// Class lists from other programs: reading, guessing their columns, taking
// the names, and the roster table written from those names read back.

#include <algorithm>
#include <string>
#include <vector>

#include "roster/class_list.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool tidy(const std::string& name) {
    constexpr std::string_view kWideBlank = "\xE3\x80\x80";
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    return !control && !name.starts_with(' ') && !name.ends_with(' ') &&
           !name.starts_with(kWideBlank) && !name.ends_with(kWideBlank);
}

bool sameColumns(const tosbel::ListColumns& a, const tosbel::ListColumns& b) {
    return a.header == b.header && a.name == b.name && a.sex == b.sex && a.number == b.number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tosbel;
    const auto table = parseListFile(fuzz::bytesOf(data, size));
    if (!table) return 0;

    std::size_t widest = 0;
    for (const ListRow& row : *table) widest = std::max(widest, row.size());
    const ListColumns columns = guessColumns(*table);
    if (widest == 0) {
        FUZZ_REQUIRE(sameColumns(columns, ListColumns{}));
    } else {
        for (const int column : {columns.name, columns.sex, columns.number})
            FUZZ_REQUIRE(column >= -1 && column < static_cast<int>(widest));
    }

    for (const bool byNumber : {false, true}) {
        const std::vector<ListedName> names = takeNames(*table, columns, byNumber);
        FUZZ_REQUIRE(names.size() <= table->size());
        FUZZ_REQUIRE(std::all_of(names.begin(), names.end(),
                                 [](const ListedName& n) { return tidy(n.name); }));
        FUZZ_REQUIRE(names.empty() || (!names.front().name.empty() && !names.back().name.empty()));

        // The table the editor writes for a spreadsheet brings the same class
        // back, whether its columns are given or guessed.
        // One table per order, each written one way: both ways at half the work.
        const bool withSex = byNumber;
        const auto reread = parseListFile(rosterTable(names, withSex));
        FUZZ_REQUIRE(reread.has_value());
        std::vector<ListedName> expected = names;
        if (!withSex) {
            for (ListedName& n : expected) n.sex = Sex::Unmarked;
        }
        FUZZ_REQUIRE(takeNames(*reread, {true, 1, withSex ? 2 : -1, -1}, false) == expected);
        const ListColumns guessed = guessColumns(*reread);
        FUZZ_REQUIRE(sameColumns(guessed, {true, 1, withSex ? 2 : -1, 0}));
        FUZZ_REQUIRE(takeNames(*reread, guessed, true) == expected);
    }
    return 0;
}
