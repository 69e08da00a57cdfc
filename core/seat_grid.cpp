#include "core/seat_grid.h"

namespace tosbel {

std::string seatLabel(int seat) {
    return std::string(1, rowLetterOf(seat)) + ' ' + std::to_string(columnOf(seat));
}

}  // namespace tosbel
