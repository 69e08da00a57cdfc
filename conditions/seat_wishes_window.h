#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/seat_wishes.h"
#include "platform/form.h"

namespace tosbel {

struct AppState;
class Platform;

// KIBOU, "席の希望": what the teacher wishes for the class beyond fixed and
// empty seats, kept in the wish file beside the roster. It works on a copy;
// only 了解 writes the file and the shared state.
class SeatWishesWindow final : public Form {
public:
    SeatWishesWindow(AppState& state, Platform& platform);

    // 0 today's pupils, 1 the row wish, 2 the sex, 3 a new pair, 4 the pairs,
    // 5 the whole class, 6 the boys-and-girls pattern, 7 the last seats.
    std::array<Frame, 8> Frame1;
    // One page of today's pupils, then those no longer on the roster who
    // still have wishes (struck through).
    std::array<OptionButton, 15> Option1;
    ScrollBar HScroll1;                   // the page of pupils shown
    std::array<OptionButton, 5> Option2;  // 指定なし, 前列, 前2列, 後2列, 後列
    std::array<OptionButton, 3> Option3;  // 指定なし, 男, 女
    std::array<OptionButton, 4> Option4;  // the kinds of pair
    std::array<OptionButton, 7> Option5;  // one page of the pairs
    ScrollBar HScroll2;                   // the page of pairs shown
    std::array<OptionButton, 4> Option6;  // the patterns
    // 0 班長, 1 everyone moves, 2 new neighbours.
    std::array<CheckBox, 3> Check1;
    // 0, 1 the pair's names; 2, 3 a group's rows and columns.
    std::array<TextBox, 4> Text1;
    // 0 the pupil selected, 1 "1人目", 2 "2人目", 3 "班の形", 4 "行 ×", 5 "列",
    // 6 which last seats the wishes compare with.
    std::array<Label, 7> Label1;
    // 0, 1 the selected pupil into a pair's box; 2 追加, 3 削除, 4 先程の結果,
    // 5 過去ﾛｸﾞ..., 6 deletes the wishes of those no longer on the roster.
    std::array<CommandButton, 7> Command2;
    std::array<CommandButton, 3> Command1;  // 了解, 取消, ﾍﾙﾌﾟ

    void Form_Load() override;
    bool Form_QueryUnload(UnloadMode mode) override;

    void Command1_Click(int index);
    void Command2_Click(int index);

private:
    struct Entry {
        std::string name;
        bool gone = false;  // no longer on the roster
    };

    void declareControls();
    void listPupils();
    void showPupils();
    void showPupil();
    void showPairs();
    void showLastSeats();
    void select(int option);
    void rowChosen(int k);
    void sexChosen(int k);
    void addPair();
    void deletePair();
    void takeLastResult();
    void takePastLog();
    void deleteGoneWishes();
    bool known(const std::string& pupil) const;
    bool gone(const std::string& pupil) const;
    bool pairGone(const PairWish& pair) const;
    // The copy with the group shape typed in; none when the shape is no number
    // of rows and columns from 1 to 10.
    std::optional<SeatWishes> edited() const;
    bool changed() const;
    bool mayDiscard();
    void save();

    AppState& state_;
    SeatWishes work_;
    // The names in the roster file; none when it could not be read, and then
    // nobody counts as gone.
    std::optional<std::set<std::string>> registered_;
    std::vector<Entry> entries_;
    std::string selected_;
    int pair_ = -1;  // the pair selected, an index into work_.pairs
};

// Opens KIBOU modally and returns once it has closed; without a saved roster
// to keep the wishes beside, it says so instead.
void showSeatWishes(AppState& state, Platform& platform);

}  // namespace tosbel
