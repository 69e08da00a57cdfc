#pragma once

#include <string>

namespace tosbel {

// The chart is 10 rows A … J (A at the top) by 10 columns 1 … 10 (1 at the
// left); seat number n = 10 × row index + column, so "A 1" is 1 and "J 10" 100.
inline constexpr int kRows = 10;
inline constexpr int kColumns = 10;

constexpr int seatNumber(int rowIndex, int column) {
    return kColumns * rowIndex + column;
}
constexpr int rowIndexOf(int seat) {
    return (seat - 1) / kColumns;
}
constexpr char rowLetterOf(int seat) {
    return static_cast<char>('A' + rowIndexOf(seat));
}
constexpr int columnOf(int seat) {
    return (seat - 1) % kColumns + 1;
}

// "A 1" … "J 10": the row letter, one blank, the column number.
std::string seatLabel(int seat);

}  // namespace tosbel
