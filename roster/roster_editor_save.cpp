// The roster editor's saving and closing: the names checked, the attendees
// taken into the shared state, the roster file written, and the questions
// asked before changed names are left.

#include <algorithm>
#include <vector>

#include "core/app_state.h"
#include "core/window_place.h"
#include "platform/cp932.h"
#include "platform/platform.h"
#include "roster/roster_editor.h"
#include "roster/roster_file.h"

namespace tosbel {

namespace {

const char* const kFilter = "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|すべてのﾌｧｲﾙ(*.*)|*.*";

// The overwrite save's question has always had an ASCII blank after "。".
const Message kNoMembersOverwrite{"新規にメンバーが登録されていません。 登録しますか？", "登録確認",
                                  MsgButtons::OkCancel, MsgIcon::Question};
const Message kNoMembersSaveAs{"新規にメンバーが登録されていません。登録しますか？", "登録確認",
                               MsgButtons::OkCancel, MsgIcon::Question};
const Message kDuplicate{"同じ氏名を登録しようとしました。", "登録者重複", MsgButtons::Ok,
                         MsgIcon::Critical};
const Message kRegistered{"新規にメンバーを登録しました。", "登録確認", MsgButtons::Ok,
                          MsgIcon::Information};
const Message kModified{"メンバーを修正しました。", "修正確認", MsgButtons::Ok,
                        MsgIcon::Information};
const Message kChanged{"名簿は変更されています。 保存しますか？", "変更確認", MsgButtons::OkCancel,
                       MsgIcon::Question};
const Message kCancelNew{"新規名簿を取消してよろしいですか？", "新規作成", MsgButtons::OkCancel,
                         MsgIcon::Question};
Message attendanceCount(int present, int absent) {
    return {"出席者は " + std::to_string(present) + "人  \r\r欠席者は " + std::to_string(absent) +
                "人  ",
            "出欠人数確認", MsgButtons::Ok, MsgIcon::Information};
}

Message cannotSave(const std::string& path) {
    return {"名簿「" + path +
                "」を保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Critical};
}

// A name the roster file would give back changed (the reader splits at a
// comma and drops leading blanks and a leading quote): what keeps it out.
std::string refusal(std::string_view name) {
    if (name == kEmptySeatMark) return "を「-」にはできません。「-」は空座席の印です。";
    if (name.find(',') != std::string_view::npos) return "に「,」は使えません。";
    if (name.front() == '"') return "の先頭に「\"」は使えません。";
    if (name.front() == ' ' || name.front() == '\t') return "の先頭に空白は使えません。";
    if (!cp932ByteLength(name)) return "には名簿に保存できない文字があります。";
    return {};
}

}  // namespace

// Saving -----------------------------------------------------------------------

bool RosterEditor::buildMemberList(Save command) {
    saveWindowPlace(*this, state_, kRosterEditorPlace);

    clearRoster(state_);
    absent_.fill(false);
    state_.MemberCount = 0;
    for (std::size_t i = 0; i < Text1.size(); ++i) {
        if (Text1[i].text.empty()) continue;
        const auto slot = static_cast<std::size_t>(++state_.MemberCount);
        state_.Members[slot] = Text1[i].text;
        absent_[slot] = Check1[i].value == 1;
    }
    state_.NoMembers = state_.MemberCount == 0 ? 1 : 0;
    bool duplicate = false;
    const auto first = state_.Members.begin() + 1;
    const auto last = first + state_.MemberCount;
    for (auto a = first; a != last && !duplicate; ++a)
        if (std::find(a + 1, last, *a) != last) duplicate = true;

    if (state_.NoMembers) {
        const Message& question =
            command == Save::Overwrite ? kNoMembersOverwrite : kNoMembersSaveAs;
        if (platform().messageBox(question) == MsgAnswer::Ok)
            state_.NoMembers = 0;
        else
            close();
        return false;
    }
    if (duplicate) {
        platform().messageBox(kDuplicate);
        return false;
    }
    return namesRoundTrip();
}

bool RosterEditor::namesRoundTrip() {
    for (std::size_t i = 0; i < Text1.size(); ++i)
        if (!nameWritable(i)) return false;
    return true;
}

bool RosterEditor::nameWritable(std::size_t i) {
    const std::string& member = Text1[i].text;
    if (member.empty()) return true;
    const std::string why = refusal(member);
    if (why.empty()) return true;
    platform().messageBox({std::to_string(i + 1) + "番の氏名" + why, "氏名確認", MsgButtons::Ok,
                           MsgIcon::Exclamation});
    Text1[i].setFocus();
    return false;
}

bool RosterEditor::writeRoster(Save command, const std::string& path) {
    const int registered = state_.MemberCount;
    const std::vector<std::string> names(state_.Members.begin() + 1,
                                         state_.Members.begin() + 1 + registered);
    // A failed write leaves the old file whole and the editor as it was, with
    // nothing that says the roster was saved.
    if (tosbel::writeRoster(path, names).error != FileError::None) {
        platform().messageBox(cannotSave(path));
        return false;
    }
    state_.RegisteredCount = static_cast<std::int16_t>(registered);
    keepListedSexes(path, names);

    // The attendee list: the present members to the front, in roster order.
    int present = 0;
    for (int k = 1; k <= registered; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        if (!absent_[slot])
            state_.Members[static_cast<std::size_t>(++present)] = state_.Members[slot];
    }
    for (int k = present + 1; k <= kMaxMembers; ++k)
        state_.Members[static_cast<std::size_t>(k)].clear();
    state_.MemberCount = static_cast<std::int16_t>(present);

    const Message count = attendanceCount(present, registered - present);
    const bool modified = state_.ModifyFlag != 0;
    platform().messageBox(modified ? kModified : kRegistered);
    if (modified != (command == Save::As)) platform().messageBox(count);
    if (modified) state_.ModifyFlag = 0;

    close();
    if (links_.saved) links_.saved();
    return true;
}

void RosterEditor::mnuFileOverWrite_Click() {
    if (!buildMemberList(Save::Overwrite)) return;
    if (state_.RosterPath.empty()) return;
    writeRoster(Save::Overwrite, state_.RosterPath);
}

void RosterEditor::mnuNewFile_Click() {
    if (!buildMemberList(Save::As)) return;
    const std::string path =
        platform().saveFileDialog({"", kFilter, platform().programFolder(), ""});
    if (path.empty()) return;
    const std::string before = state_.RosterPath;
    state_.RosterPath = path;
    // A file that could not be made is not the roster in use.
    if (!writeRoster(Save::As, path)) {
        state_.RosterPath = before;
        return;
    }
    // The roster under its new name has the wishes kept beside that name.
    if (path != state_.WishRosterPath)
        if (const auto unread = loadRosterWishes(state_, path)) platform().messageBox(*unread);
}

// Closing ----------------------------------------------------------------------

bool RosterEditor::boxesDifferFromMembers() const {
    const auto filled = std::count_if(Text1.begin(), Text1.end(),
                                      [](const TextBox& box) { return !box.text.empty(); });
    if (filled != state_.MemberCount) return true;
    for (std::size_t k = 1; k <= Text1.size(); ++k)
        if (Text1[k - 1].text != state_.Members[k]) return true;
    return false;
}

std::vector<std::string> RosterEditor::boxTexts() const {
    std::vector<std::string> texts;
    for (const TextBox& box : Text1) texts.push_back(box.text);
    return texts;
}

bool RosterEditor::offerSaveBeforeEnd() {
    // Compared with what the editor opened with, not with the member list:
    // a save that did not happen has rebuilt that list from the boxes.
    if (!(state_.OpenedFromFile || state_.NoMembers) || boxTexts() == openedWith_) return true;
    if (platform().messageBox(kChanged) != MsgAnswer::Ok) return true;
    mnuNewFile_Click();
    return !isShown();
}

void RosterEditor::mnuCancel_Click() {
    saveWindowPlace(*this, state_, kRosterEditorPlace);
    if (state_.OpenedFromFile || state_.NoMembers) {
        state_.RosterChanged = boxesDifferFromMembers() ? 1 : 0;
        if (state_.RosterChanged && platform().messageBox(kChanged) == MsgAnswer::Ok) {
            // A save the teacher asked for that did not happen (equal names, a
            // cancelled dialog, a refused file) keeps the names on screen.
            mnuNewFile_Click();
            return;
        }
        close();
        return;
    }
    if (state_.RosterPath.empty() && platform().messageBox(kCancelNew) != MsgAnswer::Ok) return;
    close();
}

}  // namespace tosbel
