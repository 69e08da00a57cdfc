#include "conditions/conditions_window.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/seat_grid.h"
#include "core/settings.h"
#include "core/window_place.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;
constexpr int kNameBytes = 12;
constexpr int kPageSize = 15;

// The chart: cells 1020 twips apart across and 735 down, the name box under
// the tick box and the seat label.
constexpr int kChartLeft = 1710, kChartTop = 870, kCellWidth = 1020, kCellHeight = 735;
constexpr int kNameWidth = 875, kNameHeight = 475, kTickSide = 210;
// The registrant list to the left of it.
constexpr int kListLeft = 200, kListTop = 870, kListPitch = 450;
constexpr int kLabelWidth = 855, kLabelHeight = 435;

constexpr Rgb kBoxBack{192, 192, 192};
constexpr Rgb kSeatLabelBack{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kHeadingBack{224, 224, 224};
constexpr Rgb kRowRule{255, 255, 128};

constexpr const char* kFullWidthDigits[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９"};

std::string rowTip(int r) {
    // Full-width letters Ａ … Ｊ; the one for row I has always had a blank.
    static constexpr const char* kLetters[] = {"Ａ", "Ｂ", "Ｃ", "Ｄ",  "Ｅ",
                                               "Ｆ", "Ｇ", "Ｈ", "Ｉ ", "Ｊ"};
    return std::string(" ") + kLetters[r] + "行一括空き座席指定 ";
}

std::string columnTip(int c) {
    return std::string(" ") + (c < 9 ? kFullWidthDigits[c] : "10") + "列一括空き座席指定 ";
}

// One page of the list per step of the scroll bar: 0 for up to 15
// attendees, 6 for 91 to 100.
int lastPage(int attendees) {
    return attendees <= kPageSize ? 0 : (attendees - 1) / kPageSize;
}

}  // namespace

ConditionsWindow::ConditionsWindow(AppState& state, Platform& platform, ConditionsWindowLinks links,
                                   bool windowsXp)
    : Form(platform), state_(state), links_(std::move(links)), windowsXp_(windowsXp) {
    name = "COND";
    caption = "Tosbel条件";
    width = kWidth;
    height = kHeight;
    toolbar = &Toolbar1;
    statusBar = &StatusBar1;
    declareControls();
    declareMenus();
}

void ConditionsWindow::declareControls() {
    TOSBEL_DECLARE(Line1);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(HScroll1);
    TOSBEL_DECLARE(Check3);
    TOSBEL_DECLARE(Check2);
    TOSBEL_DECLARE(Check1);
    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Text1);

    for (int k = 0; k < kSeatCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int x = kChartLeft + kCellWidth * (k % 10);
        const int y = kChartTop + kCellHeight * (k / 10);

        TextBox& box = Text1[i];
        box.place(x, y, kNameWidth, kNameHeight).limitBytes(kNameBytes);
        box.backColor = kBoxBack;
        box.font.size = 9.75f;
        box.toolTip = " 座席指定 ";
        box.accessibleName = seatLabel(k + 1);
        box.inputMethod = true;
        box.tabIndex = k;
        box.onGotFocus = [this, k] { T_Index = k; };
        box.onKeyPress = [this](KeyPress& press) {
            if (press.key != kKeyEnter) return;
            press.key = 0;
            focusNext();
        };
        box.onDragOver = [this](Control&, DragState) { setDragIcons("DRAG.ICO"); };
        box.onDragDrop = [&box](Control& source) { box.setText(source.tag); };

        CheckBox& tick = Check1[i];
        tick.place(x, y - kTickSide - 15, kTickSide, kTickSide);
        tick.toolTip = " 空き座席の指定 ";
        tick.accessibleName = seatLabel(k + 1) + " 空き座席";
        tick.tabIndex = 100 + k;
        tick.onClick = [this, k] { seatTicked(k); };

        Label& seat = Label1[i];
        seat.place(x + kTickSide + 30, y - kTickSide - 15, kNameWidth - kTickSide - 30, kTickSide);
        seat.caption = seatLabel(k + 1);
        seat.foreColor = kWhite;
        seat.backColor = kSeatLabelBack;
        seat.alignment = Align::Center;
    }
    for (int r = 0; r < 10; ++r) {
        CheckBox& row = Check2[static_cast<std::size_t>(r)];
        row.place(kChartLeft - 300, kChartTop + kCellHeight * r + 130, kTickSide, kTickSide);
        row.toolTip = rowTip(r);
        row.tabIndex = 200 + r;
        row.onClick = [this, r] { rowTicked(r); };

        CheckBox& column = Check3[static_cast<std::size_t>(r)];
        column.place(kChartLeft + kCellWidth * r + 330, kChartTop - 2 * kTickSide - 40, kTickSide,
                     kTickSide);
        column.toolTip = columnTip(r);
        column.tabIndex = 210 + r;
        column.onClick = [this, r] { columnTicked(r); };

        Line& rule = Line1[static_cast<std::size_t>(r + 1)];
        rule.x1 = kChartLeft - 300;
        rule.x2 = kChartLeft + kCellWidth * 9 + kNameWidth;
        rule.y1 = rule.y2 = kChartTop + kCellHeight * r + kNameHeight + 40;
        rule.borderColor = kRowRule;
        rule.borderWidth = 3;
    }
    Line& divider = Line1[0];
    divider.x1 = divider.x2 = kChartLeft - 420;
    divider.y1 = 450;
    divider.y2 = kChartTop + kCellHeight * 9 + kNameHeight;
    divider.borderColor = kWhite;

    Label2.place(kListLeft - 60, kListTop - 360, kLabelWidth + 120, 300);
    Label2.caption = "登録者一覧";
    Label2.backColor = kHeadingBack;
    Label2.alignment = Align::Center;
    for (int j = 0; j < kPageSize; ++j) {
        Label& attendee = Label4[static_cast<std::size_t>(j)];
        attendee.place(kListLeft, kListTop + kListPitch * j, kLabelWidth, kLabelHeight);
        attendee.toolTip = " 氏名 ";
        attendee.border = true;
        attendee.backColor = kWhite;
        attendee.dragIcon = "DRAG.ICO";
        attendee.onMouseDown = [this, j, &attendee](const MouseDown&) {
            if (j < state_.MemberCount) attendee.drag();
        };
        attendee.onDragOver = [this, j](Control&, DragState) {
            setDragIcons("DRAG2.ICO");
            Label4[static_cast<std::size_t>(j)].dragIcon = "DRAG.ICO";
        };
    }
    HScroll1.place(kListLeft, kListTop + kListPitch * kPageSize, kLabelWidth, 240);
    HScroll1.tabIndex = 220;
    HScroll1.accessibleName = "登録者一覧";
    HScroll1.onChange = [this] {
        const int page = HScroll1.value;
        if (page < 6)
            Tourokusha(kPageSize * page + 1, kPageSize * page + kPageSize);
        else
            Tourokusha(91, state_.MemberCount);
    };

    // Anywhere on the chart but a name box, a drop is not taken; the list's
    // heading and scroll bar leave the pointer as it is.
    for (Control* c : controls()) {
        const bool chartPart = c->kind == ControlKind::CheckBox || c->name == "Label1";
        if (chartPart) c->onDragOver = [this](Control&, DragState) { setDragIcons("DRAG2.ICO"); };
        const bool returns = c->kind == ControlKind::Label || c->kind == ControlKind::TextBox;
        if (returns) c->onDblClick = [this] { Form_DblClick(); };
    }
    Toolbar1.onDblClick = [this] { Form_DblClick(); };

    StatusBar1.panels = {
        {PanelStyle::Text, "", "", 5400, true},
        {PanelStyle::CapsLock, "CAPS", " 大文字／小文字 ", 900, false},
        {PanelStyle::Insert, "INS", " 上書き／挿入 ", 900, false},
        {PanelStyle::Date, "", " 日付 ", 1500, false},
        {PanelStyle::Time, "", " 時間 ", 1500, false},
    };
}

void ConditionsWindow::declareMenus() {
    std::vector<Command> rows = {
        {TOSBEL_COMMAND(mnuFile), .caption = "ﾌｧｲﾙ(&F)"},
        {TOSBEL_COMMAND(mnuCond), .menu = &mnuFile, .caption = "条件設定(&S)...",
         .shortcut = Shortcut::ctrlKey('S'), .tool = {2, " 条件設定 ", "save"},
         .run = [this] { mnuCond_Click(); }},
        {TOSBEL_COMMAND(mnuNO), .menu = &mnuFile, .caption = "取消(&X)",
         .tool = {3, " 取消 ", "cancel"}, .run = [this] { mnuNO_Click(); }},

        {TOSBEL_COMMAND(mnuEdit), .caption = "編集(&E)"},
        {TOSBEL_COMMAND(mnuEditAllSpaceZaseki), .menu = &mnuEdit, .caption = "全空座席指定",
         .shortcut = Shortcut::ctrlKey('A'), .run = [this] { mnuEditAllSpaceZaseki_Click(); }},
        {TOSBEL_COMMAND(mnuEditDummy), .menu = &mnuEdit, .caption = "-"},
        {TOSBEL_COMMAND(mnuEditDelete), .menu = &mnuEdit, .caption = "当該設定条件の削除(&D)...",
         .shortcut = Shortcut::ctrlKey('D'), .tool = {5, " 当該設定条件の削除 ", "delete"},
         .run = [this] { mnuEditDelete_Click(); }},
        {TOSBEL_COMMAND(mnuEditInit), .menu = &mnuEdit, .caption = "設定条件の初期化(&I)...",
         .shortcut = Shortcut::ctrlKey('I'), .tool = {6, " 設定条件の初期化 ", "new"},
         .run = [this] { mnuEditInit_Click(); }},
        {TOSBEL_COMMAND(mnuEditDummy2), .menu = &mnuEdit, .caption = "-"},
        {TOSBEL_COMMAND(mnuWishes), .menu = &mnuEdit, .caption = "席の希望(&W)...",
         .shortcut = Shortcut::ctrlKey('W'), .tool = {11, " 席の希望 ", "wishes"},
         .help = help_page::SeatWishes, .enabled = [this] { return bool(links_.wishes); },
         .run =
             [this] {
                 if (links_.wishes) links_.wishes();
             }},

        {TOSBEL_COMMAND(mnuOption), .caption = "ｵﾌﾟｼｮﾝ(&O)"},
        {TOSBEL_COMMAND(mnuOptBack), .menu = &mnuOption, .caption = "ﾀﾞﾌﾞﾙｸﾘｯｸで戻る(&D)"},
    };
    const std::vector<Command> help = helpMenuRows(
        *this, {mnuHelp, mnuHelpContext_KeyWord, mnuDummy3, "mnuDummy3", mnuVersion, 8, 9},
        [] { return help_page::Conditions; }, links_.version);
    rows.insert(rows.end(), help.begin(), help.end());
    commands_.declare(*this, std::move(rows));

    bindOptionToggle(*this, mnuOptBack, &AppState::OptDbl3, state_, section::Config, key::OptDbl3);
    commands_.layToolbar(Toolbar1, 11, {1, 4, 7, 10});
}

// Opening ----------------------------------------------------------------------

void ConditionsWindow::Form_Load() {
    height = kHeight + (windowsXp_ ? state_.XpHeightExtra : 0);
    width = kWidth;
    placeWindow(*this, state_, kConditionsPlace);
    if (links_.opened) links_.opened();

    ConditionSheet loaded;
    loadConditions(state_, loaded);
    fill(loaded);

    const int present = std::clamp<int>(state_.MemberCount, 0, kMaxMembers);
    Tourokusha(1, std::min(present, kPageSize));
    HScroll1.min = 0;
    HScroll1.max = lastPage(present);
    HScroll1.enabled = present > kPageSize;

    StatusBar1.panel(1).text = conditionStatusLine(state_);
    clock_.show();
}

void ConditionsWindow::Tourokusha(int first, int last) {
    for (Label& attendee : Label4) {
        attendee.caption.clear();
        attendee.tag.clear();
    }
    for (int i = std::max(first, 1); i <= last && i <= kMaxMembers && i - first < kPageSize; ++i) {
        Label& attendee = Label4[static_cast<std::size_t>(i - first)];
        attendee.caption = attendee.tag = state_.Members[static_cast<std::size_t>(i)];
    }
}

// The chart and its tick boxes ---------------------------------------------------

ConditionSheet ConditionsWindow::sheet() const {
    ConditionSheet s;
    for (std::size_t k = 0; k < Text1.size(); ++k) {
        s.names[k] = Text1[k].text;
        s.empty[k] = Check1[k].value == 1;
    }
    return s;
}

void ConditionsWindow::fill(const ConditionSheet& s) {
    for (std::size_t k = 0; k < Text1.size(); ++k) {
        Text1[k].setText(s.names[k]);
        Check1[k].setValue(s.empty[k] ? 1 : 0);
    }
}

// A full row or column ticks its box; a seat unticked never unticks it.
void ConditionsWindow::seatTicked(int k) {
    const int r = k / 10, c = k % 10;
    const auto ticked = [this](int seat) {
        return Check1[static_cast<std::size_t>(seat)].value == 1;
    };
    bool row = true, column = true;
    for (int i = 0; i < 10; ++i) {
        row = row && ticked(10 * r + i);
        column = column && ticked(10 * i + c);
    }
    if (row) Check2[static_cast<std::size_t>(r)].setValue(1);
    if (column) Check3[static_cast<std::size_t>(c)].setValue(1);
}

void ConditionsWindow::rowTicked(int r) {
    const int value = Check2[static_cast<std::size_t>(r)].value == 1 ? 1 : 0;
    for (int i = 0; i < 10; ++i) Check1[static_cast<std::size_t>(10 * r + i)].setValue(value);
}

void ConditionsWindow::columnTicked(int c) {
    const int value = Check3[static_cast<std::size_t>(c)].value == 1 ? 1 : 0;
    for (int i = 0; i < 10; ++i) Check1[static_cast<std::size_t>(10 * i + c)].setValue(value);
}

// Commands -------------------------------------------------------------------------

void ConditionsWindow::mnuCond_Click() {
    storePlace();
    if (!commitConditions(state_, sheet(), platform())) return;
    close();
    if (links_.done) links_.done();
}

void ConditionsWindow::mnuNO_Click() {
    storePlace();
    if (discardConditions(state_, sheet(), platform()) != DiscardOutcome::Close) return;
    close();
    if (links_.done) links_.done();
}

void ConditionsWindow::mnuEditAllSpaceZaseki_Click() {
    ConditionSheet s = sheet();
    markAllSeatsEmpty(s);
    fill(s);
}

void ConditionsWindow::mnuEditDelete_Click() {
    ConditionSheet s = sheet();
    deleteSeatCondition(state_, s, T_Index, platform());
    fill(s);
}

void ConditionsWindow::mnuEditInit_Click() {
    ConditionSheet s = sheet();
    if (!initialiseConditions(state_, s, platform())) return;
    fill(s);
    for (CheckBox& box : Check2) box.setValue(0);
    for (CheckBox& box : Check3) box.setValue(0);
}

// Dragging, closing ------------------------------------------------------------------

void ConditionsWindow::setDragIcons(const char* picture) {
    for (Label& attendee : Label4) attendee.dragIcon = picture;
}

void ConditionsWindow::Form_DragOver(Control&, DragState) {
    setDragIcons("DRAG2.ICO");
}

void ConditionsWindow::Form_DblClick() {
    if (state_.OptDbl3 != "1") return;
    saveWindowPlace(*this, state_, kConditionsPlace);
    close();
}

void ConditionsWindow::storePlace() {
    saveWindowPlace(*this, state_, kConditionsPlace, PlaceKept::StoreOnly);
}

bool ConditionsWindow::Form_QueryUnload(UnloadMode) {
    storePlace();
    return true;
}

}  // namespace tosbel
