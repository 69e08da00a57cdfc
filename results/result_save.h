#pragma once

#include "core/app_state.h"
#include "platform/platform.h"
#include "results/result_file.h"

namespace tosbel {

// The result window's save command: asks for a file, writes the chart to it
// and records it in the result history. The path chosen is kept in
// `ResultPath` (empty when the teacher cancelled).
//
// True once the result file is written, even when the history could not be
// (the teacher is told); false when the teacher cancelled or nothing could be
// saved, with every file as it was. The caller stores the window's place first
// and closes the window after true.
bool saveResult(AppState& state, const SeatTexts& seats, Platform& platform);

// The chart kept in another form (a picture, a table): asks for a file with
// `title` and `filter`, refuses the result history as result files do, and
// writes `bytes` whole or not at all. `kind` names the file in the failure
// message ("画像ﾌｧｲﾙ"). True once written.
bool saveChartCopy(const std::string& title, const std::string& filter, const std::string& kind,
                   const std::string& bytes, Platform& platform);

}  // namespace tosbel
