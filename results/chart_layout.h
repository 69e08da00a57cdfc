#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace tosbel {

// How the result window's chart faces: as the pupils see it, row A at the
// top nearest the board, or turned round for the teacher at the front, row A
// at the bottom and column 1 at the right.
enum class ChartView : std::uint8_t { Pupils, Teacher };

// The band marked "黒板" on the side of row A takes this much height more in
// the window, between the toolbar and row A or between row A and the status
// bar: the chart leaves no room of its own that a legible band fits in.
inline constexpr int kBoardBand = 330;

// Where seat box and seat label `index` (0 … 99, A 1 … J 10) stand in the
// result window's client area, in twips: the chart laid out as it always
// was, lowered below the band in the pupils' view and turned half round in
// the teacher's.
TwipRect seatBoxPlace(int index, ChartView view);
TwipRect seatLabelPlace(int index, ChartView view);
// How far the chart stands below where it stood without the band.
int chartDrop(ChartView view);

// The band across the chart's width, and "教卓" in it, before the middle of
// the chart.
TwipRect boardPlace(ChartView view);
TwipRect deskPlace(ChartView view);

// The seat shown at display row r, column c (0 … 9 from the top left).
int seatShownAt(int row, int column, ChartView view);

}  // namespace tosbel
