#include "conditions/condition_rules.h"

#include <algorithm>
#include <cstddef>

namespace tosbel {

namespace {

constexpr auto kSeats = static_cast<std::size_t>(kSeatCount);

const Message kNotAttendee{"登録者以外の氏名を条件として設定しようとしました。", "設定者確認",
                           MsgButtons::Ok, MsgIcon::Critical};
const Message kDuplicate{"同じ氏名を条件として設定しようとしました。", "設定者重複", MsgButtons::Ok,
                         MsgIcon::Critical};
const Message kTooManyEmpty{
    "登録者数と空座席数の関係に矛盾があるか、指定座席に空座席を設定しようとしました。", "設定確認",
    MsgButtons::Ok, MsgIcon::Critical};
const Message kCommitted{"条件を設定しました。", "設定確認", MsgButtons::Ok, MsgIcon::Information};
const Message kDiscard{"設定中の条件があります。 それらを破棄しますか？", "条件破棄確認",
                       MsgButtons::OkCancel, MsgIcon::Question};
const Message kDeleteSeat{"指定された座席の条件設定を削除しますか？", "削除確認",
                          MsgButtons::OkCancel, MsgIcon::Question};
const Message kInitialise{"「条件設定」 を初期化しますか？", "初期化確認", MsgButtons::OkCancel,
                          MsgIcon::Question};

bool isMember(const AppState& s, const std::string& name) {
    // All 100 slots: once the roster editor has saved they hold only today's
    // attendees, so an absent member's name finds nothing.
    return std::find(s.Members.begin() + 1, s.Members.begin() + 1 + kMaxMembers, name) !=
           s.Members.begin() + 1 + kMaxMembers;
}

// Writes the named seats into the table up to the first name that is no
// member; the seats after it keep what they held.
bool namesAreMembers(AppState& s, const ConditionSheet& sheet, Platform& platform) {
    for (std::size_t n = 1; n <= kSeats; ++n) {
        const std::string& name = sheet.names[n - 1];
        // "-" marks a seat kept empty; as a name it would hide an attendee.
        if (!name.empty() && (name == kEmptySeatMark || !isMember(s, name))) {
            platform.messageBox(kNotAttendee);
            return false;
        }
        s.SeatConditions[n] = name;
    }
    return true;
}

bool namesAreUnique(const AppState& s, Platform& platform) {
    for (std::size_t i = 1; i < kSeats; ++i) {
        const std::string& name = s.SeatConditions[i];
        if (name.empty()) continue;
        for (std::size_t j = i + 1; j <= kSeats; ++j) {
            if (s.SeatConditions[j] == name) {
                platform.messageBox(kDuplicate);
                return false;
            }
        }
    }
    return true;
}

// Marks the ticked seats that hold no name; a ticked seat that does is left
// as it is and refuses the whole sheet.
bool emptySeatsFit(AppState& s, const ConditionSheet& sheet) {
    int count = 0;
    bool conflict = false;
    for (std::size_t n = 1; n <= kSeats; ++n) {
        if (!sheet.empty[n - 1]) continue;
        if (!s.SeatConditions[n].empty()) {
            conflict = true;
        } else {
            s.SeatConditions[n] = kEmptySeatMark;
            ++count;
        }
    }
    return !conflict && count <= kSeatCount - s.MemberCount;
}

bool sheetShowsAnything(const ConditionSheet& sheet) {
    return std::any_of(sheet.names.begin(), sheet.names.end(),
                       [](const std::string& name) { return !name.empty(); }) ||
           std::any_of(sheet.empty.begin(), sheet.empty.end(), [](bool ticked) { return ticked; });
}

void clearSheet(ConditionSheet& sheet) {
    for (auto& name : sheet.names) name.clear();
    sheet.empty.fill(false);
}

}  // namespace

void loadConditions(const AppState& s, ConditionSheet& sheet) {
    for (std::size_t n = 1; n <= kSeats; ++n) {
        if (s.SeatConditions[n] == kEmptySeatMark) {
            sheet.empty[n - 1] = true;
        } else {
            sheet.names[n - 1] = s.SeatConditions[n];
        }
    }
}

bool commitConditions(AppState& s, const ConditionSheet& sheet, Platform& platform) {
    // The ticks on the sheet decide the empty seats afresh; the names checks
    // must not see the old marks as names.
    for (std::size_t n = 1; n <= kSeats; ++n) {
        if (s.SeatConditions[n] == kEmptySeatMark) s.SeatConditions[n].clear();
    }

    bool ok = namesAreMembers(s, sheet, platform) && namesAreUnique(s, platform);
    // Runs even after a refused name, so the teacher hears of both problems at once.
    if (!emptySeatsFit(s, sheet)) {
        platform.messageBox(kTooManyEmpty);
        ok = false;
    }
    if (ok) platform.messageBox(kCommitted);
    return ok;
}

DiscardOutcome discardConditions(AppState& s, const ConditionSheet& sheet, Platform& platform) {
    if (!sheetShowsAnything(sheet)) return DiscardOutcome::Close;
    if (platform.messageBox(kDiscard) != MsgAnswer::Ok) return DiscardOutcome::Stay;
    for (std::size_t n = 1; n <= kSeats; ++n) s.SeatConditions[n].clear();
    return DiscardOutcome::Close;
}

void deleteSeatCondition(AppState& s, ConditionSheet& sheet, int index, Platform& platform) {
    if (index < 0 || index >= kSeatCount) return;
    if (platform.messageBox(kDeleteSeat) != MsgAnswer::Ok) return;
    const auto k = static_cast<std::size_t>(index);
    sheet.names[k].clear();
    sheet.empty[k] = false;
    s.SeatConditions[k + 1].clear();
}

bool initialiseConditions(AppState& s, ConditionSheet& sheet, Platform& platform) {
    if (platform.messageBox(kInitialise) != MsgAnswer::Ok) return false;
    clearSheet(sheet);
    for (std::size_t n = 1; n <= kSeats; ++n) s.SeatConditions[n].clear();
    return true;
}

void markAllSeatsEmpty(ConditionSheet& sheet) {
    sheet.empty.fill(true);
}

std::string conditionStatusLine(const AppState& s) {
    const int attendees = s.MemberCount;
    return "本日の出席者は " + std::to_string(attendees) + "人 , 欠席者は " +
           std::to_string(s.RegisteredCount - attendees) + "人 , 可能な空座席指定数は " +
           std::to_string(kSeatCount - attendees) + "席 以内";
}

}  // namespace tosbel
