#include "results/result_table.h"

#include <algorithm>

#include "core/seat_grid.h"
#include "platform/csv.h"
#include "platform/text_file.h"

namespace tosbel {

std::string chartTable(const std::array<std::string, 100>& seats) {
    int rows = 0, columns = 0;
    for (int k = 0; k < kRows * kColumns; ++k) {
        if (seats[static_cast<std::size_t>(k)].empty()) continue;
        rows = std::max(rows, k / kColumns + 1);
        columns = std::max(columns, k % kColumns + 1);
    }
    std::string table(kUtf8Mark);
    for (int c = 1; c <= columns; ++c) table += "," + std::to_string(c);
    table += "\r\n";
    for (int r = 0; r < rows; ++r) {
        table += static_cast<char>('A' + r);
        for (int c = 0; c < columns; ++c)
            table += "," + csvField(seats[static_cast<std::size_t>(r * kColumns + c)]);
        table += "\r\n";
    }
    return table;
}

}  // namespace tosbel
