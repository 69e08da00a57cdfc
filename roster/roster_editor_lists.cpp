// The roster editor and class lists: a pasted spreadsheet column, a list
// file taken in, the roster given back as a table, and the sexes a list
// brought kept with the roster's seat wishes.

#include <algorithm>
#include <string_view>

#include "core/app_state.h"
#include "platform/box_text.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/platform.h"
#include "roster/class_list_window.h"
#include "roster/roster_editor.h"

namespace tosbel {

namespace {

constexpr std::size_t kCutNamesShown = 10;

Message replaceNames(int count) {
    return {"新しい氏名で、入力済みの" + std::to_string(count) +
                "人の氏名を上書きします。よろしいですか？",
            "上書き確認", MsgButtons::OkCancel, MsgIcon::Question};
}

Message leftOut(std::size_t count) {
    return {"100番までに入りきらない " + std::to_string(count) +
                "人の氏名は入れませんでした。名簿に登録できるのは100人までです。",
            "取り込み確認", MsgButtons::Ok, MsgIcon::Information};
}

Message cutNames(const std::vector<std::string>& lines) {
    std::string text =
        "氏名は全角4文字（半角8文字）までなので、次の氏名を短くしました。"
        "確かめて下さい。\r";
    for (std::size_t i = 0; i < std::min(lines.size(), kCutNamesShown); ++i)
        text += "\r" + lines[i];
    if (lines.size() > kCutNamesShown)
        text += "\rほか " + std::to_string(lines.size() - kCutNamesShown) + "人";
    return {text, "氏名確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

Message sexesNotKept(const std::string& path) {
    return {"名簿は保存しましたが、性別を席の希望のﾌｧｲﾙ「" + path +
                "」に保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

// School systems write 姓 and 名 with a blank between: where the whole
// name does not fit its box, the blanks go before any character does.
std::string fittingName(const std::string& name, int byteLimit) {
    if (fitToByteLimit(name, byteLimit) == name) return name;
    std::string joined;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == ' ') continue;
        if (name.compare(i, 3, "\xE3\x80\x80") == 0) {
            i += 2;
            continue;
        }
        joined += name[i];
    }
    return joined;
}

// What a copied cell or row carries after its last line is no line of the list.
std::string_view withoutLastLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

}  // namespace

void RosterEditor::pasteText(const std::string& text) {
    const std::string_view body = withoutLastLineEnd(text);
    TextBox& box = Text1[static_cast<std::size_t>(std::clamp(T_Index, 0, 99))];
    if (body.find_first_of("\r\n\t") == std::string_view::npos) {
        box.replaceSelection(text);
        return;
    }
    const ListTable rows = splitList(body);
    fillBoxes(box.index, takeNames(rows, guessColumns(rows), false));
}

void RosterEditor::fillBoxes(int first, const std::vector<ListedName>& names) {
    first = std::clamp(first, 0, kMaxMembers - 1);
    const std::size_t taken = std::min(names.size(), static_cast<std::size_t>(kMaxMembers - first));
    if (taken == 0) return;
    const auto boxOf = [&](std::size_t i) -> TextBox& {
        return Text1[static_cast<std::size_t>(first) + i];
    };

    int replaced = 0;
    for (std::size_t i = 0; i < taken; ++i)
        if (!boxOf(i).text.empty() && boxOf(i).text != names[i].name) ++replaced;
    if (replaced > 0 && platform().messageBox(replaceNames(replaced)) != MsgAnswer::Ok) return;

    std::vector<std::string> cut;
    for (std::size_t i = 0; i < taken; ++i) {
        TextBox& box = boxOf(i);
        const std::string& listed = names[i].name;
        box.setText(fittingName(listed, box.byteLimit));
        // A name code page 932 cannot hold goes in whole, so the name check
        // below names it instead of a box quietly holding part of it.
        if (!cp932ByteLength(listed))
            box.text = listed;
        else if (box.text != listed)
            cut.push_back(std::to_string(box.index + 1) + "番　" + listed + " → " + box.text);
        if (names[i].sex != Sex::Unmarked && !box.text.empty()) sexes_[box.text] = names[i].sex;
    }
    recordStep();

    if (names.size() > taken) platform().messageBox(leftOut(names.size() - taken));
    if (!cut.empty()) platform().messageBox(cutNames(cut));
    for (std::size_t i = 0; i < taken; ++i)
        if (!nameWritable(static_cast<std::size_t>(boxOf(i).index))) break;
}

void RosterEditor::mnuImport_Click() {
    if (const auto names = takeInClassList(platform())) fillBoxes(0, *names);
}

std::vector<ListedName> RosterEditor::listedBoxes() const {
    std::vector<ListedName> names;
    for (const TextBox& box : Text1) {
        if (box.text.empty()) continue;
        const auto listed = sexes_.find(box.text);
        const PupilWish* wish = state_.Wishes.pupil(box.text);
        names.push_back({box.text, listed != sexes_.end() ? listed->second
                                   : wish                 ? wish->sex
                                                          : Sex::Unmarked});
    }
    return names;
}

void RosterEditor::mnuExport_Click() {
    giveBackClassList(platform(), listedBoxes(), tableNameFor(state_.RosterPath));
}

void RosterEditor::keepListedSexes(const std::string& path, const std::vector<std::string>& names) {
    if (sexes_.empty()) return;
    const std::string file = wishFileOf(path);
    const WishRead read = readWishFile(file);
    // A wish file that cannot be read stays as it is, as it does everywhere.
    if (!read.wishes) {
        platform().messageBox(sexesNotKept(file));
        return;
    }
    SeatWishes wishes = *read.wishes;
    for (const std::string& pupil : names)
        if (const auto listed = sexes_.find(pupil); listed != sexes_.end())
            wishes.pupilEntry(pupil).sex = listed->second;
    wishes.prune();
    if (wishes != *read.wishes && !writeWishFile(file, wishes)) {
        platform().messageBox(sexesNotKept(file));
        return;
    }
    if (path == state_.WishRosterPath) state_.Wishes = wishes;
    sexes_.clear();
}

}  // namespace tosbel
