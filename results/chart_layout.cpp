#include "results/chart_layout.h"

#include "core/seat_grid.h"

namespace tosbel {

namespace {

// Seats 1140 twips apart across and 750 down, each label above its box.
constexpr int kPitchX = 1140, kPitchY = 750;
constexpr int kLabelLeft = 390, kLabelTop = 480, kLabelWidth = 915, kLabelHeight = 195;
constexpr int kBoxLeft = 375, kBoxTop = 645, kBoxWidth = 915, kBoxHeight = 495;
// The labels of column 10 have always stood 15 twips left of the pitch.
constexpr int kLastLabelLeft = 10635;

constexpr int kChartLeft = kBoxLeft;
constexpr int kChartRight = kBoxLeft + kPitchX * (kColumns - 1) + kBoxWidth;
constexpr int kChartBottom = kBoxTop + kPitchY * (kRows - 1) + kBoxHeight;
constexpr int kToolbarHeight = 360;
constexpr int kDeskWidth = 1200;

struct Cell {
    int row, column;
};

Cell shownCell(int index, ChartView view) {
    const int r = index / kColumns, c = index % kColumns;
    if (view == ChartView::Pupils) return {r, c};
    return {kRows - 1 - r, kColumns - 1 - c};
}

}  // namespace

int chartDrop(ChartView view) {
    return view == ChartView::Pupils ? kBoardBand : 0;
}

TwipRect seatBoxPlace(int index, ChartView view) {
    const Cell at = shownCell(index, view);
    return {kBoxLeft + kPitchX * at.column, kBoxTop + kPitchY * at.row + chartDrop(view), kBoxWidth,
            kBoxHeight};
}

TwipRect seatLabelPlace(int index, ChartView view) {
    const Cell at = shownCell(index, view);
    return {at.column == kColumns - 1 ? kLastLabelLeft : kLabelLeft + kPitchX * at.column,
            kLabelTop + kPitchY * at.row + chartDrop(view), kLabelWidth, kLabelHeight};
}

TwipRect boardPlace(ChartView view) {
    const int top = view == ChartView::Pupils ? kToolbarHeight + 60 : kChartBottom + 60;
    return {kChartLeft, top, kChartRight - kChartLeft, kBoardBand - 60};
}

TwipRect deskPlace(ChartView view) {
    const TwipRect board = boardPlace(view);
    const int middle = (kChartLeft + kChartRight) / 2;
    return {middle - kDeskWidth / 2, board.top, kDeskWidth, board.height};
}

int seatShownAt(int row, int column, ChartView view) {
    const int index = row * kColumns + column;
    return view == ChartView::Pupils ? index : kRows * kColumns - 1 - index;
}

}  // namespace tosbel
