#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "roster/class_list.h"

namespace tosbel {

struct AppState;

// TORIKOMI, "名簿の取り込み": the first rows of a class list as read, where
// the teacher picks the column of the names and, where there is one, of the
// sexes, says whether the first row is a heading and whether the class goes
// in the order of its 出席番号. Nothing is written; 了解 hands the names on.
class ClassListWindow final : public Form {
public:
    static constexpr int kShownColumns = 10;
    static constexpr int kShownRows = 8;

    ClassListWindow(Platform& platform, ListTable rows);

    std::array<Label, 2> Label1;  // 0 the instruction, 1 how many names go in
    CheckBox Check1;              // "1行目は見出し"
    CheckBox Check2;              // "出席番号の順に並べる"
    Frame Frame1;                 // "氏名の列"
    std::array<OptionButton, kShownColumns> Option1;
    Frame Frame2;                                          // "性別の列"
    std::array<OptionButton, kShownColumns + 1> Option2;   // 0 "なし", then the columns
    std::array<Label, kShownRows> Label3;                  // the rows' numbers
    std::array<Label, kShownRows * kShownColumns> Label2;  // the cells, row by row
    std::array<CommandButton, 3> Command1;                 // 了解, 取消, ﾍﾙﾌﾟ

    void Form_Load() override;

    // The names as the window's choices take them; none until 了解.
    const std::optional<std::vector<ListedName>>& taken() const { return taken_; }
    std::vector<ListedName> names() const;

private:
    void showChoices();
    void Command1_Click(int index);

    ListTable rows_;
    ListColumns columns_;
    int width_ = 0;  // columns shown
    std::optional<std::vector<ListedName>> taken_;
};

// Asks for a list file and shows its first rows for the teacher's choices;
// the names taken, or none when the teacher cancelled or the file could not
// be used (the teacher has then been told why).
std::optional<std::vector<ListedName>> takeInClassList(Platform& platform);

// The name a roster's table is proposed under: the roster's own with ".CSV";
// empty for a roster not yet saved.
std::string tableNameFor(const std::string& rosterPath);

// Writes the names as a table through the save dialog, proposing
// `proposed`, whole or not at all; the teacher is told when it could not be
// written.
void giveBackClassList(Platform& platform, const std::vector<ListedName>& names,
                       const std::string& proposed);

}  // namespace tosbel
