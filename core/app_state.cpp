#include "core/app_state.h"

namespace tosbel {

namespace {
void clearSlots(Slots& slots) {
    for (auto& slot : slots) slot.clear();
}
}  // namespace

void clearRoster(AppState& s) {
    clearSlots(s.Members);
}
void clearConditions(AppState& s) {
    clearSlots(s.SeatConditions);
}
void clearResult(AppState& s) {
    clearSlots(s.SeatResult);
}
void clearInitialSeats(AppState& s) {
    clearSlots(s.InitialSeats);
}

}  // namespace tosbel
