#include "results/result_window.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/seat_grid.h"
#include "core/settings.h"
#include "core/window_place.h"
#include "platform/platform.h"
#include "results/chart_layout.h"
#include "results/no_print_window.h"
#include "results/result_save.h"
#include "results/result_table.h"

namespace tosbel {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;
constexpr int kNameBytes = 12;

constexpr Rgb kWindowBack{128, 128, 128};
constexpr Rgb kBoxBack{192, 192, 192};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
// A green board and a wooden desk.
constexpr Rgb kBoard{38, 84, 56};
constexpr Rgb kDesk{140, 94, 52};

constexpr const char* kGothic = "ＭＳ Ｐゴシック";
constexpr const char* kMincho = "ＭＳ Ｐ明朝";

const Message kOccupied{"移動先には別のメンバーが決まっています。", "移動先確認", MsgButtons::Ok,
                        MsgIcon::Critical};
const Message kShuffleAgain{
    "手で変えた席は保存されていません。\r\r"
    "同じ条件でもう一度席替えしてよろしいですか？",
    "もう一度確認", MsgButtons::OkCancel, MsgIcon::Question};

// The teacher's view is kept for the next result window.
constexpr std::string_view kTeacherViewKey = "OptTeacher";

const Message kRestore{"Tosbel結果を元へ戻してよろしいですか？", "復元確認", MsgButtons::OkCancel,
                       MsgIcon::Question};

// "A 1" … "J 10"; row I's labels have always had two blanks.
std::string resultSeatLabel(int seat) {
    std::string label = seatLabel(seat);
    if (rowLetterOf(seat) == 'I') label.insert(1, " ");
    return label;
}

}  // namespace

void rotateChart(std::array<std::string, 100>& seats, int direction) {
    const auto at = [&seats](int r, int c) -> std::string& {
        return seats[static_cast<std::size_t>(kColumns * r + c)];
    };
    for (int line = 0; line < 10; ++line) {
        // One row (left, right) or one column (up, down), turned one place.
        std::array<std::string*, 10> cells{};
        for (int i = 0; i < 10; ++i)
            cells[static_cast<std::size_t>(i)] = direction < 2 ? &at(line, i) : &at(i, line);
        std::array<std::string, 10> moved;
        for (std::size_t i = 0; i < 10; ++i) moved[i] = std::move(*cells[i]);
        const bool towardsStart = direction == 0 || direction == 2;
        if (towardsStart)
            std::rotate(moved.begin(), moved.begin() + 1, moved.end());
        else
            std::rotate(moved.begin(), moved.end() - 1, moved.end());
        for (std::size_t i = 0; i < 10; ++i) *cells[i] = std::move(moved[i]);
    }
}

ResultWindow::ResultWindow(AppState& state, Platform& platform, ResultWindowLinks links,
                           bool windowsXp)
    : Form(platform), state_(state), links_(std::move(links)), windowsXp_(windowsXp) {
    name = "RESULT";
    caption = "Tosbel結果";
    width = kWidth;
    height = kHeight + kBoardBand;
    backColor = kWindowBack;
    toolbar = &Toolbar1;
    statusBar = &StatusBar1;
    declareControls();
    declareMenus();
}

void ResultWindow::declareControls() {
    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Text1);
    for (int k = 0; k < kSeatCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        Label& seat = Label1[i];
        seat.caption = resultSeatLabel(k + 1);
        seat.foreColor = kWhite;
        seat.alignment = Align::Center;

        TextBox& box = Text1[i];
        box.limitBytes(kNameBytes);
        box.backColor = kBoxBack;
        box.foreColor = kBlack;
        box.font = {kGothic, 9.75f};
        box.inputMethod = true;
        box.wrap = true;
        box.tabIndex = k;
        box.accessibleName = seatLabel(k + 1);
        box.dragIcon = "DRAG.ICO";
        box.onGotFocus = [this, k] {
            T_Index = k;
            history_.typingEnded();
        };
        box.onChange = [this, k] { typed(k); };
        box.onKeyPress = [this](KeyPress& press) {
            if (press.key != kKeyEnter) return;
            press.key = 0;
            focusNext();
        };
        box.onMouseDown = [&box](const MouseDown&) {
            box.tag = box.text;
            box.drag();
        };
        box.onDragOver = [this](Control&, DragState) { setDragIcons("DRAG.ICO"); };
        box.onDragDrop = [this, k](Control&) { dropOn(k); };
        box.onDblClick = [this] { Form_DblClick(); };

        seat.onDragOver = [this](Control&, DragState) { setDragIcons("DRAG2.ICO"); };
        seat.onDblClick = [this] { Form_DblClick(); };
    }
    Toolbar1.onDblClick = [this] { Form_DblClick(); };

    TOSBEL_DECLARE(lblBoard);
    lblBoard.caption = "　黒板";
    lblBoard.backColor = kBoard;
    lblBoard.foreColor = kWhite;
    lblBoard.font = {kGothic, 9.75f};
    lblBoard.font.bold = true;
    lblBoard.accessibleName = "黒板";
    lblBoard.onDblClick = [this] { Form_DblClick(); };
    TOSBEL_DECLARE(lblDesk);
    lblDesk.caption = "教卓";
    lblDesk.backColor = kDesk;
    lblDesk.foreColor = kWhite;
    lblDesk.alignment = Align::Center;
    lblDesk.font = {kGothic, 9.75f};
    lblDesk.onDblClick = [this] { Form_DblClick(); };
    layOutChart();

    StatusBar1.panels = {
        {PanelStyle::Text, "結果に対しては・・・  いつも、(^_^)(^_^)ﾆｺﾆｺ 笑顔で了解", "", 7000,
         true},
        {PanelStyle::Date, "", " 日付 ", 1500, false},
        {PanelStyle::Time, "", " 時間 ", 1500, false},
    };
}

void ResultWindow::declareMenus() {
    std::vector<Command> rows = {
        {TOSBEL_COMMAND(mnuFile), .caption = "ﾌｧｲﾙ(&F)"},
        {TOSBEL_COMMAND(mnuResultSave), .menu = &mnuFile, .caption = "結果の保存(&S)...",
         .shortcut = Shortcut::ctrlKey('S'), .tool = {2, " 結果の保存 ", "save"},
         .run = [this] { mnuResultSave_Click(); }},
        {TOSBEL_COMMAND(mnuPrint), .menu = &mnuFile, .caption = "印刷(&P)...",
         .shortcut = Shortcut::ctrlKey('P'), .tool = {5, " 印刷 ", "print"},
         .run = [this] { mnuPrint_Click(); }},
        // The same page on screen first, so no sheet is wasted on a wrong chart.
        {TOSBEL_COMMAND(mnuPrintPreview), .menu = &mnuFile, .caption = "印刷ﾌﾟﾚﾋﾞｭｰ(&V)...",
         .run = [this] { mnuPrintPreview_Click(); }},
        // The printed page kept as a file, for a teacher with no printer at hand.
        {TOSBEL_COMMAND(mnuSavePdf), .menu = &mnuFile, .caption = "PDFとして保存(&D)...",
         .run = [this] { mnuSavePdf_Click(); }},
        {TOSBEL_COMMAND(mnuSavePicture), .menu = &mnuFile, .caption = "画像として保存(&G)...",
         .run = [this] { mnuSavePicture_Click(); }},
        {TOSBEL_COMMAND(mnuSaveTable), .menu = &mnuFile, .caption = "表として保存(&T)...",
         .run = [this] { mnuSaveTable_Click(); }},
        {TOSBEL_COMMAND(mnuFileRule), .menu = &mnuFile, .caption = "-"},
        {TOSBEL_COMMAND(mnuShuffleAgain), .menu = &mnuFile, .caption = "もう一度(&A)",
         .shortcut = Shortcut::ctrlKey('G'), .tool = {18, " もう一度 ", "again"},
         .enabled = [this] { return shuffled_ && bool(links_.shuffleAgain); },
         .run = [this] { mnuShuffleAgain_Click(); }},
        {TOSBEL_COMMAND(mnuFileRule2), .menu = &mnuFile, .caption = "-"},
        {TOSBEL_COMMAND(mnuOK), .menu = &mnuFile, .caption = "了解(&X)",
         .tool = {3, " 了解  ", "ok"}, .run = [this] { mnuOK_Click(); }},

        {TOSBEL_COMMAND(mnuEdit), .caption = "編集(&E)"},
        // Ctrl+Z and Ctrl+Y: a typed name is itself a step here, so the
        // chart's undo takes back what a box's own undo would, and drags and
        // moves besides.
        {TOSBEL_COMMAND(mnuUndo), .menu = &mnuEdit, .caption = "元に戻す(&Z)",
         .shortcut = Shortcut::ctrlKey('Z'), .tool = {15, " 元に戻す ", "undo"},
         .enabled = [this] { return history_.canUndo(); }, .run = [this] { mnuUndo_Click(); }},
        {TOSBEL_COMMAND(mnuRedo), .menu = &mnuEdit, .caption = "やり直し(&Y)",
         .shortcut = Shortcut::ctrlKey('Y'), .tool = {16, " やり直し ", "redo"},
         .enabled = [this] { return history_.canRedo(); }, .run = [this] { mnuRedo_Click(); }},
        {TOSBEL_COMMAND(mnuEditUndoRule), .menu = &mnuEdit, .caption = "-"},
    };
    const char* const moves[] = {"左へ移動(&L)", "右へ移動(&R)", "上へ移動(&U)", "下へ移動(&D)"};
    const char keys[] = {'L', 'R', 'U', 'D'};
    const char* const pictures[] = {"left", "right", "up", "down"};
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        rows.push_back({.item = &mnuEditMove[k],
                        .name = "mnuEditMove",
                        .menu = &mnuEdit,
                        .caption = moves[k],
                        .shortcut = Shortcut::ctrlKey(keys[k]),
                        .tool = {7 + i, "", pictures[k]},
                        .run = [this, i] { mnuEditMove_Click(i); },
                        .index = i});
    }
    rows.insert(
        rows.end(),
        {
            {TOSBEL_COMMAND(mnuEditRule), .menu = &mnuEdit, .caption = "-"},
            {TOSBEL_COMMAND(mnuEditInitial), .menu = &mnuEdit, .caption = "元へ戻す(&I)...",
             .shortcut = Shortcut::ctrlKey('I'), .run = [this] { mnuEditInitial_Click(); }},

            {TOSBEL_COMMAND(mnuView), .caption = "表示(&V)"},
            {TOSBEL_COMMAND(mnuTeacherView), .menu = &mnuView, .caption = "教卓から見た図(&T)",
             .tool = {19, " 教卓から見た図 ", "teacher"},
             .run = [this] { mnuTeacherView_Click(); }},
            {TOSBEL_COMMAND(mnuClassroom), .menu = &mnuView, .caption = "大きく表示(&B)",
             .tool = {20, " 大きく表示 ", "classroom"}, .run = [this] { mnuClassroom_Click(); }},

            {TOSBEL_COMMAND(mnuOption), .caption = "ｵﾌﾟｼｮﾝ(&O)"},
            {TOSBEL_COMMAND(mnuOptBack), .menu = &mnuOption, .caption = "ﾀﾞﾌﾞﾙｸﾘｯｸで戻る(&D)"},
            {TOSBEL_COMMAND(mnuOptionRule), .menu = &mnuOption, .caption = "-"},
            {TOSBEL_COMMAND(mnuOptFont), .menu = &mnuOption, .caption = "MS_Pｺﾞｼｯｸ(&F)",
             .run = [this] { mnuOptFont_Click(); }},
            {TOSBEL_COMMAND(mnuOptColorPrt), .menu = &mnuOption, .caption = "ｶﾗｰ印刷(&C)"},
            {TOSBEL_COMMAND(mnuNoPrintLine), .menu = &mnuOption, .caption = "非印刷行の設定(&L)...",
             .help = help_page::NoPrint, .run = [this] { mnuNoPrintLine_Click(); }},
            {TOSBEL_COMMAND(mnuPrintStatusBar), .menu = &mnuOption,
             .caption = "ｽﾃｰﾀｽﾊﾞｰの印刷(&S)"},
        });
    const std::vector<Command> help = helpMenuRows(
        *this, {mnuHelp, mnuHelpContext_KeyWord, mnuHelpRule, "mnuHelpRule", mnuVersion, 12, 13},
        [] { return help_page::Result; }, links_.version);
    rows.insert(rows.end(), help.begin(), help.end());
    commands_.declare(*this, std::move(rows));

    bindOptionToggle(*this, mnuOptBack, &AppState::OptDbl4, state_, section::Config, key::OptDbl4);
    bindOptionToggle(*this, mnuOptColorPrt, &AppState::OptCol, state_, section::RltVal,
                     key::OptCol);
    bindOptionToggle(*this, mnuPrintStatusBar, &AppState::OptPsbar, state_, section::Config,
                     key::OptPsbar);
    commands_.layToolbar(Toolbar1, 20, {1, 4, 6, 11, 14, 17});
}

// The chart ---------------------------------------------------------------------

void ResultWindow::fill(const std::array<std::string, 100>& seats) {
    for (std::size_t k = 0; k < Text1.size(); ++k) state_.InitialSeats[k + 1] = seats[k];
    showChart(seats);
    // A new chart starts a new history; もう一度 is on while the chart is the
    // last shuffle of the class still in hand.
    history_.restart(this->seats());
    shuffled_ = state_.MemberCount > 0 &&
                std::equal(seats.begin(), seats.end(), state_.SeatResult.begin() + 1);
    commands_.refresh();
}

std::array<std::string, 100> ResultWindow::seats() const {
    std::array<std::string, 100> out;
    for (std::size_t k = 0; k < Text1.size(); ++k) out[k] = Text1[k].text;
    return out;
}

void ResultWindow::showChart(const std::array<std::string, 100>& chart) {
    for (std::size_t k = 0; k < Text1.size(); ++k) Text1[k].setText(chart[k]);
}

void ResultWindow::layOutChart() {
    for (int k = 0; k < kSeatCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const TwipRect box = seatBoxPlace(k, view_), label = seatLabelPlace(k, view_);
        Text1[i].place(box.left, box.top, box.width, box.height);
        Label1[i].place(label.left, label.top, label.width, label.height);
    }
    const TwipRect board = boardPlace(view_), desk = deskPlace(view_);
    lblBoard.place(board.left, board.top, board.width, board.height);
    lblDesk.place(desk.left, desk.top, desk.width, desk.height);
}

// Undoing hand changes -------------------------------------------------------------

void ResultWindow::typed(int index) {
    history_.typed(index, seats());
    commands_.refresh();
}

void ResultWindow::changeChart(const Chart& chart) {
    showChart(chart);
    history_.changed(seats());
    commands_.refresh();
}

void ResultWindow::mnuUndo_Click() {
    if (const auto chart = history_.undo(seats())) showChart(*chart);
    commands_.refresh();
}

void ResultWindow::mnuRedo_Click() {
    if (const auto chart = history_.redo(seats())) showChart(*chart);
    commands_.refresh();
}

bool ResultWindow::changedByHand() const {
    for (std::size_t k = 0; k < Text1.size(); ++k)
        if (Text1[k].text != state_.InitialSeats[k + 1]) return true;
    return false;
}

// Opening -----------------------------------------------------------------------

void ResultWindow::Form_Load() {
    width = kWidth;
    height = kHeight + kBoardBand + (windowsXp_ ? state_.XpHeightExtra : 0);
    placeWindow(*this, state_, kResultPlace);

    // An option that is not "0" counts as on, and the shared state says so.
    mnuPrintStatusBar.checked = state_.OptPsbar != "0";
    state_.OptPsbar = mnuPrintStatusBar.checked ? "1" : "0";
    mnuOptColorPrt.checked = state_.OptCol != "0";

    if (!state_.RosterPath.empty() && links_.resultAvailable) links_.resultAvailable();
    state_.ResultShown = 1;

    mnuOptBack.checked = state_.OptDbl4 == "1";
    mnuOptFont.checked = state_.OptFgm == "1";
    if (!mnuOptFont.checked) setChartFont(kMincho);
    if (platform().settings().read(section::RltVal, kTeacherViewKey) == "1") {
        view_ = ChartView::Teacher;
        mnuTeacherView.checked = true;
        layOutChart();
    }
    clock_.show();
}

// Commands on the chart -------------------------------------------------------------

void ResultWindow::mnuEditMove_Click(int index) {
    std::array<std::string, 100> chart = seats();
    // The arrows move the chart the way they point on screen: turned round,
    // left on screen is towards column 10.
    rotateChart(chart, view_ == ChartView::Teacher ? index ^ 1 : index);
    changeChart(chart);
}

void ResultWindow::mnuEditInitial_Click() {
    if (platform().messageBox(kRestore) != MsgAnswer::Ok) return;
    std::array<std::string, 100> initial;
    for (std::size_t k = 0; k < Text1.size(); ++k) initial[k] = state_.InitialSeats[k + 1];
    changeChart(initial);
}

// The chart turns round; each seat keeps its box, so drags, moves and the
// saved file are the same in either view.
void ResultWindow::mnuTeacherView_Click() {
    view_ = view_ == ChartView::Pupils ? ChartView::Teacher : ChartView::Pupils;
    mnuTeacherView.checked = view_ == ChartView::Teacher;
    layOutChart();
    platform().settings().save(section::RltVal, kTeacherViewKey,
                               mnuTeacherView.checked ? "1" : "0");
}

void ResultWindow::mnuShuffleAgain_Click() {
    if (!shuffled_ || !links_.shuffleAgain) return;
    if (changedByHand() && platform().messageBox(kShuffleAgain) != MsgAnswer::Ok) return;
    links_.shuffleAgain();
}

void ResultWindow::mnuOptFont_Click() {
    mnuOptFont.checked = !mnuOptFont.checked;
    setChartFont(mnuOptFont.checked ? kGothic : kMincho);
    state_.OptFgm = mnuOptFont.checked ? "1" : "0";
    platform().settings().save(section::RltVal, key::OptFgm, state_.OptFgm);
}

void ResultWindow::setChartFont(const char* fontName) {
    for (Label& l : Label1) l.font.name = fontName;
    for (TextBox& box : Text1) box.font.name = fontName;
}

// Dragging one member ----------------------------------------------------------------

void ResultWindow::setDragIcons(const char* picture) {
    for (TextBox& box : Text1) box.dragIcon = picture;
}

void ResultWindow::Form_DragOver(Control&, DragState) {
    setDragIcons("DRAG2.ICO");
}

// The drag started at the box that had the focus last: the press that began it
// focused it. Only an empty seat takes a member.
void ResultWindow::dropOn(int index) {
    if (index == T_Index) return;
    TextBox& target = Text1[static_cast<std::size_t>(index)];
    if (!target.text.empty()) {
        platform().messageBox(kOccupied);
        return;
    }
    const auto from = static_cast<std::size_t>(std::clamp(T_Index, 0, kSeatCount - 1));
    const TextBox& source = Text1[from];
    // An empty seat dropped on an empty seat changes nothing to take back.
    if (source.tag.empty() && source.text.empty()) return;
    Chart chart = seats();
    chart[static_cast<std::size_t>(index)] = source.tag;
    chart[from].clear();
    changeChart(chart);
}

// Printing: result_print.cpp.

void ResultWindow::mnuNoPrintLine_Click() {
    showNoPrintWindow(state_, platform());
}

void ResultWindow::mnuSaveTable_Click() {
    saveChartCopy("表として保存", "CSVﾌｧｲﾙ(*.csv)|*.csv", "表のﾌｧｲﾙ", chartTable(seats()),
                  platform());
}

// Leaving -------------------------------------------------------------------------------

void ResultWindow::mnuResultSave_Click() {
    saveWindowPlace(*this, state_, kResultPlace, PlaceKept::StoreOnly);
    if (!saveResult(state_, seats(), platform())) return;
    if (links_.saved) links_.saved();
    close();
}

void ResultWindow::mnuOK_Click() {
    saveWindowPlace(*this, state_, kResultPlace, PlaceKept::StoreOnly);
    close();
}

void ResultWindow::Form_DblClick() {
    if (state_.OptDbl4 != "1") return;
    saveWindowPlace(*this, state_, kResultPlace);
    close();
}

bool ResultWindow::Form_QueryUnload(UnloadMode mode) {
    if (mode == UnloadMode::CloseBox)
        saveWindowPlace(*this, state_, kResultPlace, PlaceKept::StoreOnly);
    // The system ending closes every window; any other way out brings the
    // main window back.
    returnsToMain_ = mode == UnloadMode::CloseBox || mode == UnloadMode::Program;
    return true;
}

void ResultWindow::Form_Unload() {
    if (returnsToMain_ && links_.done) links_.done();
}

}  // namespace tosbel
