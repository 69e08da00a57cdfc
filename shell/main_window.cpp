#include "shell/main_window.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/display.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "results/result_file.h"
#include "roster/roster_file.h"
#include "shell/os_name.h"
#include "shell/roster_history.h"
#include "shell/shell.h"
#include "tools/background_window.h"

namespace tosbel {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;
constexpr int kToolButtons = 37;

const char* const kGuideText =
    "ﾌｧｲﾙ(F) から「名簿の新規作成(N)」または「名簿を開く(O)...」を選択して下さい";
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

const Message kPastLogMissing{"指定したﾌｧｲﾙがありません。存在を確認して下さい。", "ﾌｧｲﾙの存在確認",
                              MsgButtons::Ok, MsgIcon::Critical};
const Message kExitQuestion{"「Tosbel君 for Windows」 を 終了しますか？", "終了確認",
                            MsgButtons::OkCancel, MsgIcon::Question};

std::string currentFolder() {
    std::error_code ec;
    return utf8Of(std::filesystem::current_path(ec));
}

Rgb gradientBand(const AppState& s, int y, int h) {
    const auto cap = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    return {cap(s.BackRed), cap(s.BackGreen), cap(s.BackBlue - (s.BackBlue * y) / h)};
}

}  // namespace

MainWindow::MainWindow(Shell& shell)
    : Form(shell.platform()), shell_(shell), state_(shell.state()) {
    name = "TOSBEL";
    caption = "Tosbel君 for Windows";
    icon = "tosbel";
    width = kWidth;
    height = kHeight;
    backColor = Rgb{0, 0, 0};
    toolbar = &Toolbar1;
    statusBar = &StatusBar1;

    TOSBEL_DECLARE(Image1);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Label5);
    TOSBEL_DECLARE(Label7);

    declareMenus();
    declareToolbar();
    layOut();
}

void MainWindow::layOut() {
    Image1.place(0, 0, clientWidth(), clientHeight());
    Image1.stretch = true;
    Image1.visible = false;

    const auto letter = [](Label& l, const char* text, const char* font, float size) {
        l.caption = text;
        l.font.name = font;
        l.font.size = size;
        l.font.bold = true;
        l.font.italic = true;
    };
    constexpr int kShadow = 75;
    Label1.place(2150, 1850, 5700, 1900);
    Label5.place(7850, 2350, 1700, 1500);
    Label7.place(2250, 4150, 7800, 700);
    Label2[0].place(Label1.left + kShadow, Label1.top + kShadow, Label1.width, Label1.height);
    Label3.place(Label5.left + kShadow, Label5.top + kShadow, Label5.width, Label5.height);
    Label4.place(Label7.left + kShadow / 2, Label7.top + kShadow / 2, Label7.width, Label7.height);
    for (Label* l : {&Label1, &Label2[0]}) letter(*l, "Tosbel", "ＭＳ Ｐ明朝", 84);
    for (Label* l : {&Label5, &Label3}) letter(*l, "君", "ＭＳ Ｐ明朝", 66);
    for (Label* l : {&Label7, &Label4}) {
        letter(*l, "for Windows 98/Me/NT/2000/XP", "Times New Roman", 22);
        l->font.bold = false;
    }

    for (Control* c : controls())
        if (c != &Image1) c->onDblClick = [this] { Form_DblClick(); };
    Image1.onDblClick = [this] { Form_DblClick(); };
    Toolbar1.onDblClick = [this] { Form_DblClick(); };
    StatusBar1.onDblClick = [this] { Form_DblClick(); };

    StatusBar1.panels = {
        {PanelStyle::Text, kGuideText, kGuideText, 7800, true},
        {PanelStyle::Date, "", " 日付 ", 1500, false},
        {PanelStyle::Time, "", " 時間 ", 1500, false},
    };
}

void MainWindow::declareMenus() {
    TOSBEL_DECLARE(mnuFile, "ﾌｧｲﾙ(&F)");
    TOSBEL_DECLARE(mnuFileCreate, "名簿の新規作成(&N)", Shortcut::ctrlKey('N'));
    TOSBEL_DECLARE(mnuFileOpen, "名簿を開く(&O)...", Shortcut::ctrlKey('O'));
    TOSBEL_DECLARE(mnuFileTosbel, "Tosbel実行(&G)", Shortcut::ctrlKey('G'));
    TOSBEL_DECLARE(mnuDummy7, "-");
    TOSBEL_DECLARE(mnuEnd, "Tosbel君 の終了(&X)...");
    mnuFile.items = {&mnuFileCreate, &mnuFileOpen, &mnuFileTosbel};
    declare(mnuFileArray2, mnuFile);
    mnuFile.items.insert(mnuFile.items.end(), {&mnuDummy7, &mnuEnd});

    TOSBEL_DECLARE(mnuDataManage, "ﾃﾞｰﾀ管理(&M)");
    TOSBEL_DECLARE(mnuFileCopy, "ｺﾋﾟｰ(&C)...");
    TOSBEL_DECLARE(mnuFileRename, "名前の変更(&R)...");
    TOSBEL_DECLARE(mnuBackup, "ﾊﾞｯｸｱｯﾌﾟ(&B)...");
    TOSBEL_DECLARE(mnuDummy8, "-");
    TOSBEL_DECLARE(mnuFileDelete, "削除(&D)...");
    mnuDataManage.items = {&mnuFileCopy, &mnuFileRename, &mnuBackup, &mnuDummy8, &mnuFileDelete};

    TOSBEL_DECLARE(mnuLog, "過去ﾛｸﾞ(&L)");
    TOSBEL_DECLARE(mnuResult, "先程の結果(&R)", Shortcut::ctrlKey('R'));
    mnuLog.items = {&mnuResult};
    declare(mnuFileArray, mnuLog);

    TOSBEL_DECLARE(mnuOption, "ｵﾌﾟｼｮﾝ(&O)");
    TOSBEL_DECLARE(mnuInitialEdit, "環境設定(&E)");
    TOSBEL_DECLARE(mnuOptLogo, "ﾛｺﾞの表示(&L)");
    TOSBEL_DECLARE(mnuOptDouble, "ﾀﾞﾌﾞﾙｸﾘｯｸで終了(&D)");
    TOSBEL_DECLARE(mnuOptEnvCnter, "画面のｾﾝﾀﾘﾝｸﾞ(&C)");
    TOSBEL_DECLARE(mnuMainColor, "背景(&B)...");
    TOSBEL_DECLARE(mnuOptCountDown, "ｶｳﾝﾄﾀﾞｳﾝ画面(&K)");
    TOSBEL_DECLARE(mnuOptEnvCntSet, "詳細(&S)...");
    TOSBEL_DECLARE(mnuOptEnvCntSoft, "編集ｿﾌﾄ(&F)...");
    TOSBEL_DECLARE(mnuOptEnvCntRun, "編集ｿﾌﾄの起動(&E)", Shortcut::ctrlKey('E'));
    TOSBEL_DECLARE(mnuCondition, "Tosbel条件(&S)", Shortcut::ctrlKey('S'));
    mnuOption.items = {&mnuInitialEdit, &mnuCondition};
    mnuInitialEdit.items = {&mnuOptLogo, &mnuOptDouble, &mnuOptEnvCnter, &mnuMainColor,
                            &mnuOptCountDown};
    mnuOptCountDown.items = {&mnuOptEnvCntSet, &mnuOptEnvCntSoft, &mnuOptEnvCntRun};

    TOSBEL_DECLARE(mnuHelp, "ﾍﾙﾌﾟ(&H)");
    TOSBEL_DECLARE(mnuHelpContext_KeyWord, {{{"ﾄﾋﾟｯｸの検索(&H)", Shortcut{vk::F1}}, {"目次(&C)"}}});
    TOSBEL_DECLARE(mnuHelpDummy, "-");
    TOSBEL_DECLARE(mnuVersion, "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
    mnuHelp.items = {&mnuHelpContext_KeyWord[0], &mnuHelpContext_KeyWord[1], &mnuHelpDummy,
                     &mnuVersion};

    menuBar = {&mnuFile, &mnuDataManage, &mnuLog, &mnuOption, &mnuHelp};

    TOSBEL_ON_CLICK(mnuFileCreate);
    TOSBEL_ON_CLICK(mnuFileOpen);
    TOSBEL_ON_CLICK(mnuEnd);
    TOSBEL_ON_CLICK(mnuResult);
    TOSBEL_ON_CLICK(mnuOptEnvCnter);
    TOSBEL_ON_CLICK_EACH(mnuHelpContext_KeyWord);
    mnuFileArray2.onClick = [this](int i) { mnuFileArray2_Click(i); };
    mnuFileArray.onClick = [this](int i) { mnuFileArray_Click(i); };
    bindOptionToggle(*this, mnuOptLogo, &AppState::OptLogo, state_, section::Config, key::OptLogo);
    bindOptionToggle(*this, mnuOptDouble, &AppState::OptDbl, state_, section::Config, key::OptDbl);

    // Commands that open another window run it when it is there.
    WindowOpeners& w = shell_.windows();
    const std::pair<MenuItem*, std::function<void()>*> openers[] = {
        {&mnuFileTosbel, &w.shuffle},
        {&mnuFileCopy, &w.fileCopy},
        {&mnuFileRename, &w.fileRename},
        {&mnuBackup, &w.backup},
        {&mnuFileDelete, &w.fileDelete},
        {&mnuMainColor, &w.background},
        {&mnuOptEnvCntSet, &w.countdownSettings},
        {&mnuOptEnvCntSoft, &w.editingSoftware},
        {&mnuOptEnvCntRun, &w.runEditingSoftware},
        {&mnuCondition, &w.conditions},
        {&mnuVersion, &w.version},
    };
    for (const auto& [item, opener] : openers)
        item->onClick = [opener = opener] {
            if (*opener) (*opener)();
        };
}

void MainWindow::declareToolbar() {
    // 1, 4, 6 and 10 space the groups apart; 13 … 36 are spare places.
    Toolbar1.lay(kToolButtons, {1, 4, 6, 10},
                 {{2, " 名簿の新規作成 ", "new", &mnuFileCreate},
                  {3, " 名簿を開く ", "open", &mnuFileOpen},
                  {5, " ﾌｧｲﾙの削除 ", "delete", &mnuFileDelete},
                  {7, " Tosbel条件の変更 ", "conditions", &mnuCondition},
                  {8, " Tosbel実行 ", "run", &mnuFileTosbel},
                  {9, " 終了 ", "exit", &mnuEnd},
                  {11, " ﾊﾞｰｼﾞｮﾝ情報 ", "version", &mnuVersion},
                  {12, " ﾍﾙﾌﾟ ", "help", &mnuHelpContext_KeyWord[1]},
                  {37, "", "paint", &mnuOptEnvCntRun}});
    for (int i = 13; i <= 36; ++i) {
        Toolbar1.button(i).visible = false;
        Toolbar1.button(i).enabled = false;
    }
}

void MainWindow::refreshEnablement() {
    const WindowOpeners& w = shell_.windows();
    const bool editor = static_cast<bool>(w.rosterEditor);
    const bool result = static_cast<bool>(w.result);

    mnuFileCreate.enabled = mnuFileOpen.enabled = rosterCommandsOn_ && editor;
    mnuCondition.enabled = conditionsOn_ && w.conditions;
    mnuFileTosbel.enabled = conditionsOn_ && w.shuffle;
    mnuResult.enabled = resultOn_ && result;
    for (int i = 1; i <= mnuFileArray2.upperBound(); ++i) mnuFileArray2[i].enabled = editor;
    for (int i = 1; i <= mnuFileArray.upperBound(); ++i) mnuFileArray[i].enabled = result;

    mnuFileCopy.enabled = static_cast<bool>(w.fileCopy);
    mnuFileRename.enabled = static_cast<bool>(w.fileRename);
    mnuBackup.enabled = static_cast<bool>(w.backup);
    mnuFileDelete.enabled = static_cast<bool>(w.fileDelete);
    mnuMainColor.enabled = static_cast<bool>(w.background);
    mnuOptEnvCntSet.enabled = static_cast<bool>(w.countdownSettings);
    mnuOptEnvCntSoft.enabled = static_cast<bool>(w.editingSoftware);
    mnuOptEnvCntRun.enabled = static_cast<bool>(w.runEditingSoftware);
    mnuVersion.enabled = static_cast<bool>(w.version);
}

void MainWindow::conditionsLoaded() {
    rosterCommandsOn_ = false;
    conditionsOn_ = true;
    refreshEnablement();
}

void MainWindow::resultAvailable() {
    resultOn_ = true;
    refreshEnablement();
}

void MainWindow::appendEntry(MenuArray& list, std::uint8_t& count) {
    list[0].visible = true;
    ++count;
    MenuItem& entry = list.load();
    entry.caption = state_.RosterPath;
    entry.visible = true;
}

void MainWindow::listPastLogs() {
    // Entries loaded before are used again, and hidden when the list is shorter.
    const std::string rosterPath = state_.RosterPath;
    const int loaded = mnuFileArray.upperBound();
    mnuFileArray[0].visible = false;
    for (int i = 1; i <= loaded; ++i) mnuFileArray[i].visible = false;
    state_.ResultMenuCount = 0;
    for (const std::string& path : readResultHistory(platform().programFolder())) {
        if (state_.ResultMenuCount < loaded) {
            mnuFileArray[0].visible = true;
            MenuItem& entry = mnuFileArray[++state_.ResultMenuCount];
            entry.caption = path;
            entry.visible = true;
            continue;
        }
        state_.RosterPath = path;
        UpdateMenu();
    }
    state_.RosterPath = rosterPath;
    refreshEnablement();
}

void MainWindow::UpdateMenu() {
    appendEntry(mnuFileArray, state_.ResultMenuCount);
}

void MainWindow::UpdateFileMenu() {
    appendEntry(mnuFileArray2, state_.RecentMenuCount);
}

void MainWindow::Form_Load() {
    height = kHeight + (shell_.osName() == "Windows XP" ? state_.XpHeightExtra : 0);
    width = kWidth;
    layOut();

    rosterCommandsOn_ = true;
    conditionsOn_ = false;
    resultOn_ = state_.ResultShown == 1;

    placeWindow(*this, state_, kMainWindowPlace);
    mnuOptEnvCnter.checked = state_.OptCent == "1";

    mnuFileArray2[0].visible = false;
    state_.RecentMenuCount = 0;
    listPastLogs();
    for (const std::string& path : state_.Rireki) {
        if (path.empty()) continue;
        state_.RosterPath = path;
        UpdateFileMenu();
    }

    showBackground();
    state_.RosterPath.clear();
    refreshEnablement();
}

void MainWindow::Form_Activate() {
    colourLettering();
    clock_.show();
}

void MainWindow::colourLettering() {
    for (Label* l : {&Label1, &Label5, &Label7}) l->foreColor = state_.TitleColor;
    for (Label* l : {&Label2[0], &Label3, &Label4}) l->foreColor = state_.ShadowColor;
}

void MainWindow::showBackground() {
    // A file that is no picture would leave the lettering black on black. The
    // file is looked at when the window loads and when the theme changes, not
    // at every activation.
    const bool picture = state_.OptMColor == "4" && isPictureFile(platform(), state_.Maing);
    Image1.picture = picture ? state_.Maing : std::string();
    Image1.visible = picture;
    colourLettering();
}

void MainWindow::Form_Paint(Canvas& canvas) {
    const int h = clientHeight();
    const int w = clientWidth();
    if (h <= 0) return;
    const int step = std::max(1, h / 16);
    for (int y = 0; y <= h; y += step)
        canvas.fillBox(-1, static_cast<float>(y - 1), static_cast<float>(w),
                       static_cast<float>(y + step), gradientBand(state_, y, h));
}

void MainWindow::Form_DblClick() {
    if (state_.OptDbl == "1") mnuEnd_Click();
}

void MainWindow::savePosition() {
    saveWindowPlace(*this, state_, kMainWindowPlace);
}

void MainWindow::mnuEnd_Click() {
    savePosition();
    if (platform().messageBox(kExitQuestion) != MsgAnswer::Ok || !shell_.mayEnd()) return;
    ending_ = true;
    platform().endProgram();
}

bool MainWindow::Form_QueryUnload(UnloadMode mode) {
    if (ending_) return true;
    savePosition();
    if (mode == UnloadMode::CloseBox || mode == UnloadMode::SystemEnding) {
        if (platform().messageBox(kExitQuestion) != MsgAnswer::Ok || !shell_.mayEnd()) return false;
        ending_ = true;
    }
    return true;
}

void MainWindow::Form_Unload() {
    if (ending_) platform().endProgram();
}

void MainWindow::mnuFileCreate_Click() {
    if (!mnuFileCreate.enabled || !shell_.closeRosterEditor()) return;
    state_.RosterPath.clear();
    state_.NoMembers = 0;
    state_.OpenedFromFile = 0;
    clearRoster(state_);
    clearConditions(state_);
    clearResult(state_);
    state_.MemberCount = 0;
    shell_.windows().rosterEditor(true);
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
    return std::nullopt;
}

void MainWindow::mnuFileOpen_Click() {
    if (!mnuFileOpen.enabled || !shell_.closeRosterEditor()) return;
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

void MainWindow::mnuFileArray_Click(int index) {
    clearInitialSeats(state_);
    const auto seats = index >= 1 && index <= mnuFileArray.upperBound()
                           ? readResultFile(mnuFileArray[index].caption)
                           : std::nullopt;
    if (!seats) {
        platform().messageBox(kPastLogMissing);
        return;
    }
    for (std::size_t k = 0; k < seats->size(); ++k) state_.InitialSeats[k + 1] = (*seats)[k];
    if (const auto& open = shell_.windows().result) open();
}

void MainWindow::mnuResult_Click() {
    if (!mnuResult.enabled) return;
    close(UnloadMode::Program);
    for (int n = 1; n <= kSeatCount; ++n)
        state_.InitialSeats[static_cast<std::size_t>(n)] =
            state_.SeatResult[static_cast<std::size_t>(n)];
    if (const auto& open = shell_.windows().result) open();
}

void MainWindow::mnuOptEnvCnter_Click() {
    if (mnuOptEnvCnter.checked) {
        mnuOptEnvCnter.checked = false;
        if (top == 0 && left == 0) centreWindow(*this, platform().screen());
        state_.I_Top = static_cast<float>(top);
        state_.I_Left = static_cast<float>(left);
        state_.OptCent = "0";
    } else {
        mnuOptEnvCnter.checked = true;
        centreWindow(*this, platform().screen());
        state_.OptCent = "1";
    }
    platform().settings().save(section::Position, key::OptCent, state_.OptCent);
}

void MainWindow::mnuHelpContext_KeyWord_Click(int index) {
    platform().showHelp({index == 0 ? HelpCommand::PartialKey : HelpCommand::Contents, 0});
}

}  // namespace tosbel
