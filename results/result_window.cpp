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
#include "results/no_print_window.h"
#include "results/result_save.h"

namespace tosbel {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;
constexpr int kNameBytes = 12;

// Seats 1140 twips apart across and 750 down, each label above its box.
constexpr int kPitchX = 1140, kPitchY = 750;
constexpr int kLabelLeft = 390, kLabelTop = 480, kLabelWidth = 915, kLabelHeight = 195;
constexpr int kBoxLeft = 375, kBoxTop = 645, kBoxWidth = 915, kBoxHeight = 495;
// The labels of column 10 have always stood 15 twips left of the pitch.
constexpr int kLastLabelLeft = 10635;

constexpr Rgb kWindowBack{128, 128, 128};
constexpr Rgb kBoxBack{192, 192, 192};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

constexpr const char* kGothic = "ＭＳ Ｐゴシック";
constexpr const char* kMincho = "ＭＳ Ｐ明朝";

const Message kOccupied{"移動先には別のメンバーが決まっています。", "移動先確認", MsgButtons::Ok,
                        MsgIcon::Critical};
const Message kPrintFailed{"印刷できませんでした。プリンタの状態を確認して下さい。", "印刷確認",
                           MsgButtons::Ok, MsgIcon::Critical};
// A printer that writes a PDF file failed at the file, not at the printer.
Message printFailed(const PrinterChoice& printer) {
    if (printer.file.empty()) return kPrintFailed;
    return {"印刷したﾌｧｲﾙ「" + printer.file +
                "」を保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。"
                "同じ名前のﾌｧｲﾙがあれば、元のままです。",
            "印刷確認", MsgButtons::Ok, MsgIcon::Critical};
}

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
    height = kHeight;
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
        const int r = k / kColumns, c = k % kColumns;

        Label& seat = Label1[i];
        seat.place(c == 9 ? kLastLabelLeft : kLabelLeft + kPitchX * c, kLabelTop + kPitchY * r,
                   kLabelWidth, kLabelHeight);
        seat.caption = resultSeatLabel(k + 1);
        seat.foreColor = kWhite;
        seat.alignment = Align::Center;

        TextBox& box = Text1[i];
        box.place(kBoxLeft + kPitchX * c, kBoxTop + kPitchY * r, kBoxWidth, kBoxHeight)
            .limitBytes(kNameBytes);
        box.backColor = kBoxBack;
        box.foreColor = kBlack;
        box.font = {kGothic, 9.75f};
        box.inputMethod = true;
        box.wrap = true;
        box.tabIndex = k;
        box.accessibleName = seatLabel(k + 1);
        box.dragIcon = "DRAG.ICO";
        box.onGotFocus = [this, k] { T_Index = k; };
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
        {TOSBEL_COMMAND(mnuFileRule), .menu = &mnuFile, .caption = "-"},
        {TOSBEL_COMMAND(mnuOK), .menu = &mnuFile, .caption = "了解(&X)",
         .tool = {3, " 了解  ", "ok"}, .run = [this] { mnuOK_Click(); }},

        {TOSBEL_COMMAND(mnuEdit), .caption = "編集(&E)"},
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
    commands_.layToolbar(Toolbar1, 13, {1, 4, 6, 11});
}

// The chart ---------------------------------------------------------------------

void ResultWindow::fill(const std::array<std::string, 100>& seats) {
    for (std::size_t k = 0; k < Text1.size(); ++k) {
        Text1[k].setText(seats[k]);
        state_.InitialSeats[k + 1] = seats[k];
    }
}

std::array<std::string, 100> ResultWindow::seats() const {
    std::array<std::string, 100> out;
    for (std::size_t k = 0; k < Text1.size(); ++k) out[k] = Text1[k].text;
    return out;
}

// Opening -----------------------------------------------------------------------

void ResultWindow::Form_Load() {
    width = kWidth;
    height = kHeight + (windowsXp_ ? state_.XpHeightExtra : 0);
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
    clock_.show();
}

// Commands on the chart -------------------------------------------------------------

void ResultWindow::mnuEditMove_Click(int index) {
    std::array<std::string, 100> chart = seats();
    rotateChart(chart, index);
    for (std::size_t k = 0; k < Text1.size(); ++k) Text1[k].setText(chart[k]);
}

void ResultWindow::mnuEditInitial_Click() {
    if (platform().messageBox(kRestore) != MsgAnswer::Ok) return;
    for (std::size_t k = 0; k < Text1.size(); ++k) Text1[k].setText(state_.InitialSeats[k + 1]);
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
    TextBox& source = Text1[static_cast<std::size_t>(std::clamp(T_Index, 0, kSeatCount - 1))];
    target.setText(source.tag);
    source.setText("");
}

// Printing ------------------------------------------------------------------------------

PrintedPage ResultWindow::printedChart() const {
    PrintedPage page;
    page.form = this;
    page.background = kWhite;
    page.statusBar = state_.OptPsbar != "0";
    const bool colour = state_.OptCol != "0";
    page.look = [this, colour](const Control& c) {
        PaperLook look;
        const bool label = c.name == "Label1";
        if (c.form != this || (!label && c.name != "Text1") || c.index < 0) return look;
        const auto r = static_cast<std::size_t>(c.index / kColumns);
        const auto column = static_cast<std::size_t>(c.index % kColumns);
        look.printed = !tickedValue(state_.NoLine[r]) && !tickedValue(state_.NoRow[column]);
        look.foreColor = kBlack;
        if (!label) look.backColor = colour ? kBoxBack : kWhite;
        return look;
    };
    return page;
}

void ResultWindow::mnuPrint_Click() {
    const auto choice = platform().printerDialog();
    if (!choice) return;
    if (!platform().printPages(printedChart(), std::max(choice->copies, 1)))
        platform().messageBox(printFailed(*choice));
}

void ResultWindow::mnuPrintPreview_Click() {
    if (const auto failed = platform().previewPage(printedChart()))
        platform().messageBox(printFailed(*failed));
}

void ResultWindow::mnuSavePdf_Click() {
    const std::string path = platform().saveFileDialog(
        {"PDFとして保存", "PDFﾌｧｲﾙ(*.pdf)|*.pdf", platform().programFolder(), ""});
    if (path.empty()) return;
    if (!platform().savePdf(printedChart(), path))
        platform().messageBox(printFailed(PrinterChoice{1, path}));
}

void ResultWindow::mnuNoPrintLine_Click() {
    showNoPrintWindow(state_, platform());
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
