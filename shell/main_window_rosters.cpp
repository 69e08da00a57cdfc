// The main window's roster commands: a new roster, opening one from a file or
// from the recent list, taking in a class list and giving the roster back as
// a table, and the recent list kept in the settings.

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/app_state.h"
#include "core/settings.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "roster/class_list_window.h"
#include "roster/roster_file.h"
#include "shell/main_window.h"
#include "shell/roster_history.h"
#include "shell/shell.h"

namespace tosbel {

namespace {

const char* const kRosterFilter =
    "名簿ﾌｧｲﾙ(*.MEM)|*.MEM|旧名簿ﾌｧｲﾙ(*.DAT)|*.DAT|すべてのﾌｧｲﾙ(*.*)|*.*";

const Message kRosterMissing{"指定した名簿がありません。存在を確認して下さい。", "名簿の存在確認",
                             MsgButtons::Ok, MsgIcon::Critical};
// The recent-roster message has always had one ASCII blank after the first "。".
const Message kRecentRosterMissing{"指定した名簿がありません。 存在を確認して下さい。",
                                   "名簿の存在確認", MsgButtons::Ok, MsgIcon::Critical};

// A roster with a member named "-", the mark of a seat kept empty: the
// shuffle would leave that pupil without a seat.
Message reservedName(const std::string& path, int member) {
    return {"名簿「" + path + "」の" + std::to_string(member) +
                "行目の氏名が「-」です。「-」は空座席の印なので、氏名には使えません。\r\r"
                "名簿の氏名を直してから開いて下さい。",
            "氏名確認", MsgButtons::Ok, MsgIcon::Critical};
}

std::string currentFolder() {
    std::error_code ec;
    return utf8Of(std::filesystem::current_path(ec));
}

}  // namespace

void MainWindow::mnuFileCreate_Click() {
    if (!shell_.closeRosterEditor()) return;
    startNewRoster();
    shell_.windows().rosterEditor(true);
}

void MainWindow::mnuImport_Click() {
    if (!shell_.closeRosterEditor()) return;
    auto names = takeInClassList(platform());
    if (!names) return;
    startNewRoster();
    shell_.windows().listedRoster(std::move(*names));
}

void MainWindow::mnuExport_Click() {
    const RosterRead read = readRoster(state_.RosterPath);
    if (read.error != FileError::None) {
        platform().messageBox(kRosterMissing);
        return;
    }
    std::vector<ListedName> names;
    for (const std::string& pupil : read.names) {
        const PupilWish* wish = state_.Wishes.pupil(pupil);
        names.push_back({pupil, wish ? wish->sex : Sex::Unmarked});
    }
    giveBackClassList(platform(), names, tableNameFor(state_.RosterPath));
}

void MainWindow::startNewRoster() {
    state_.RosterPath.clear();
    state_.NoMembers = 0;
    state_.OpenedFromFile = 0;
    clearRoster(state_);
    clearConditions(state_);
    clearResult(state_);
    loadRosterWishes(state_, {});
    state_.MemberCount = 0;
}

std::string MainWindow::historyKey(std::size_t i) {
    return indexedKey(key::Rireki, static_cast<int>(i));
}

// The stored history counts, not the in-memory copy: another copy of the
// program may have opened a roster since. It is read, changed and saved back
// while no other copy does the same.
void MainWindow::updateHistory(const std::function<void(RosterHistory&)>& change) {
    const FolderLock lock(platform().programFolder());
    SettingsStore& store = platform().settings();
    store.refresh();
    RosterHistory history;
    for (std::size_t i = 0; i < history.size(); ++i)
        history[i] = store.read(section::FilesHistory, historyKey(i));
    change(history);
    state_.Rireki = history;
    saveHistory();
}

void MainWindow::saveHistory() {
    for (std::size_t i = 0; i < state_.Rireki.size(); ++i)
        platform().settings().save(section::FilesHistory, historyKey(i), state_.Rireki[i]);
}

std::optional<Message> MainWindow::readRosterIntoState(const std::string& path,
                                                       const Message& missing) {
    clearRoster(state_);
    clearConditions(state_);
    clearResult(state_);
    loadRosterWishes(state_, {});
    state_.MemberCount = 0;
    // A roster that cannot be read whole is not taken at all, so no later
    // command works on half a class.
    const RosterRead read = readRoster(path);
    if (read.error == FileError::ReservedName) return reservedName(path, read.member);
    if (read.error != FileError::None) return missing;
    for (const std::string& member : read.names)
        state_.Members[static_cast<std::size_t>(++state_.MemberCount)] = member;
    state_.ModifyFlag = 1;
    state_.OpenedFromFile = 1;
    if (const auto unread = loadRosterWishes(state_, path)) platform().messageBox(*unread);
    return std::nullopt;
}

void MainWindow::mnuFileOpen_Click() {
    if (!shell_.closeRosterEditor()) return;
    state_.RosterPath =
        platform().openFileDialog({"名簿を開く", kRosterFilter, currentFolder(), ""});
    if (state_.RosterPath.empty()) return;
    if (const auto refused = readRosterIntoState(state_.RosterPath, kRosterMissing)) {
        platform().messageBox(*refused);
        return;
    }
    updateHistory([this](RosterHistory& history) {
        recordOpenedRoster(history, state_.RosterPath, platform().caseSensitivePaths());
    });
    shell_.windows().rosterEditor(false);
}

void MainWindow::mnuFileArray2_Click(int index) {
    if (!shell_.closeRosterEditor()) return;
    std::error_code ec;
    std::filesystem::current_path(pathOf(platform().programFolder()), ec);
    savePosition();
    // The entry names its file by its caption; the history entry with that path
    // is the one that moves to the front, so a gap in a hand-edited history
    // cannot make an entry open another roster.
    const auto at =
        index >= 1 && index <= mnuFileArray2.upperBound()
            ? std::find(state_.Rireki.begin(), state_.Rireki.end(), mnuFileArray2[index].caption)
            : state_.Rireki.end();
    if (at == state_.Rireki.end()) {
        platform().messageBox(kRecentRosterMissing);
        return;
    }
    state_.RosterPath = *at;
    if (state_.RosterPath.empty()) return;
    if (const auto refused = readRosterIntoState(state_.RosterPath, kRecentRosterMissing)) {
        platform().messageBox(*refused);
        return;
    }
    updateHistory([this](RosterHistory& history) {
        const auto stored = std::find(history.begin(), history.end(), state_.RosterPath);
        if (stored != history.end())
            moveRecentToFront(history, static_cast<int>(stored - history.begin()) + 1);
        else
            recordOpenedRoster(history, state_.RosterPath, platform().caseSensitivePaths());
    });
    shell_.windows().rosterEditor(true);
}

}  // namespace tosbel
