#include "roster/roster_editor.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "core/display.h"
#include "core/help_pages.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/cp932.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;
constexpr int kNameBytes = 8;

constexpr Rgb kBoxBack{0xC0, 0xC0, 0xC0};
constexpr Rgb kCheckBack{0x80, 0x80, 0x80};
constexpr Rgb kHeadingBack{0xE0, 0xE0, 0xE0};
constexpr Rgb kFocusBack{0x40, 0x40, 0x40};
constexpr Rgb kFocusText{0xFF, 0xFF, 0x00};
constexpr Rgb kBlack{0, 0, 0};

const char* const kAttendanceGuide = "出席：OFF（チェックなし）　欠席：ON（チェックあり）";

const Message kDeleteMember{"指定されたメンバーを削除しますか？", "削除確認", MsgButtons::OkCancel,
                            MsgIcon::Question};

}  // namespace

RosterEditor::RosterEditor(AppState& state, Platform& platform, RosterEditorLinks links,
                           bool windowsXp)
    : Form(platform), state_(state), links_(std::move(links)), windowsXp_(windowsXp) {
    name = "TOUROKU";
    caption = "登録・修正";
    width = kWidth;
    height = kHeight;
    toolbar = &Toolbar1;
    statusBar = &StatusBar1;
    declareControls();
    declareMenus();
}

void RosterEditor::declareControls() {
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Text1);
    TOSBEL_DECLARE(Check1);

    // Four groups of 25 rows under the toolbar: number, name, attendance.
    constexpr int kGroupWidth = 2955, kMargin = 60;
    constexpr int kHeadingTop = 465, kRowTop = 750, kRowPitch = 285, kRowHeight = 270;
    constexpr int kNumberWidth = 480, kNameLeft = 510, kNameWidth = 1650;
    constexpr int kCheckLeft = 2190, kCheckWidth = 660;
    const auto heading = [](Label& l, const char* text) {
        l.caption = text;
        l.backColor = kHeadingBack;
        l.font.size = 11.25f;
        l.alignment = Align::Center;
        l.border = true;
    };
    for (int g = 0; g < 4; ++g) {
        const int x = kMargin + g * kGroupWidth;
        const auto at = [g](int column) { return static_cast<std::size_t>(3 * g + column); };
        heading(Label2[at(0)], "No");
        heading(Label2[at(1)], "氏名");
        heading(Label2[at(2)], "出/欠");
        Label2[at(0)].place(x, kHeadingTop, kNumberWidth, kRowHeight);
        Label2[at(1)].place(x + kNameLeft, kHeadingTop, kNameWidth, kRowHeight);
        Label2[at(2)].place(x + kCheckLeft, kHeadingTop, kCheckWidth, kRowHeight);
    }
    for (int i = 0; i < 100; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int x = kMargin + (i / 25) * kGroupWidth;
        const int y = kRowTop + (i % 25) * kRowPitch;

        Label& number = Label1[k];
        number.place(x, y, kNumberWidth, kRowHeight);
        number.caption = std::to_string(i + 1);
        number.backColor = kBoxBack;
        number.foreColor = kBlack;
        number.font.size = 11.25f;
        number.alignment = Align::Center;
        number.border = true;

        TextBox& box = Text1[k];
        box.place(x + kNameLeft, y, kNameWidth, kRowHeight).limitBytes(kNameBytes);
        box.backColor = kBoxBack;
        box.foreColor = kBlack;
        box.font.size = 9.75f;
        box.toolTip = " 氏名 ";
        box.accessibleName = std::to_string(i + 1) + "番の氏名";
        box.inputMethod = true;
        box.tabIndex = i;
        box.dragIcon = "DRAG.ICO";
        box.onGotFocus = [this, i] { Text1_GotFocus(i); };
        box.onChange = [this, i] {
            history_.typed(i, boxes());
            commands_.refresh();
        };
        box.onLostFocus = [this, i] { Text1_LostFocus(i); };
        box.onKeyPress = [this, i](KeyPress& press) { Text1_KeyPress(i, press); };
        box.onMouseDown = [this, i](const MouseDown&) { Text1_MouseDown(i); };
        box.onDragOver = [this, i](Control&, DragState) { Text1_DragOver(i); };
        box.onDragDrop = [this, i](Control& source) { Text1_DragDrop(i, source); };

        CheckBox& check = Check1[k];
        check.place(x + kCheckLeft, y, kCheckWidth, kRowHeight);
        check.backColor = kCheckBack;
        check.toolTip = " 出/欠 ";
        check.accessibleName = std::to_string(i + 1) + "番の欠席";
        check.tabIndex = 100 + i;
        check.onClick = [this] { recordStep(); };
    }

    for (Control* c : controls()) {
        if (c->kind != ControlKind::CheckBox) c->onDblClick = [this] { Form_DblClick(); };
        // Anywhere but a name box, a drop is not taken.
        if (c->kind != ControlKind::TextBox && c->name != "Label1")
            c->onDragOver = [this](Control& source, DragState s) { Form_DragOver(source, s); };
    }
    Toolbar1.onDblClick = [this] { Form_DblClick(); };

    StatusBar1.panels = {
        {PanelStyle::Text, kAttendanceGuide, kAttendanceGuide, 5400, true},
        {PanelStyle::CapsLock, "CAPS", " 大文字／小文字 ", 900, false},
        {PanelStyle::Insert, "INS", " 上書き／挿入 ", 900, false},
        {PanelStyle::Date, "", " 日付 ", 1500, false},
        {PanelStyle::Time, "", " 時間 ", 1500, false},
    };
}

void RosterEditor::declareMenus() {
    std::vector<Command> rows = {
        {TOSBEL_COMMAND(mnuFile), .caption = "ﾌｧｲﾙ(&F)"},
        // The blanks around the tips are part of them.
        {TOSBEL_COMMAND(mnuFileOverWrite), .menu = &mnuFile, .caption = "名簿の上書き保存(&S)",
         .shortcut = Shortcut::ctrlKey('S'), .tool = {2, " 新規登録・修正 ", "save"},
         .run = [this] { mnuFileOverWrite_Click(); }},
        {TOSBEL_COMMAND(mnuNewFile), .menu = &mnuFile, .caption = "名前を付けて名簿の保存(&N)...",
         .shortcut = Shortcut::ctrlKey('N'), .run = [this] { mnuNewFile_Click(); }},
        {TOSBEL_COMMAND(mnuImport), .menu = &mnuFile, .caption = "名簿の取り込み(&I)...",
         .help = help_page::ClassList, .run = [this] { mnuImport_Click(); }},
        {TOSBEL_COMMAND(mnuExport), .menu = &mnuFile, .caption = "名簿の書き出し(&E)...",
         .run = [this] { mnuExport_Click(); }},
        {TOSBEL_COMMAND(mnuFileDummy), .menu = &mnuFile, .caption = "-"},
        {TOSBEL_COMMAND(mnuCancel), .menu = &mnuFile, .caption = "取消・了解(&X)",
         .tool = {3, " 取消・了解  ", "cancel"}, .run = [this] { mnuCancel_Click(); }},

        {TOSBEL_COMMAND(mnuEdit), .caption = "編集(&E)"},
        // While there is nothing to take back, Ctrl+Z is the box's own.
        {TOSBEL_COMMAND(mnuUndo), .menu = &mnuEdit, .caption = "元に戻す(&Z)",
         .shortcut = Shortcut::ctrlKey('Z'), .enabled = [this] { return history_.canUndo(); },
         .run = [this] { mnuUndo_Click(); }},
        {TOSBEL_COMMAND(mnuRedo), .menu = &mnuEdit, .caption = "やり直し(&Y)",
         .shortcut = Shortcut::ctrlKey('Y'), .enabled = [this] { return history_.canRedo(); },
         .run = [this] { mnuRedo_Click(); }},
        {TOSBEL_COMMAND(mnuEditUndoRule), .menu = &mnuEdit, .caption = "-"},
    };
    const char* const edits[] = {"切り取り(&T)", "ｺﾋﾟｰ(&C)", "貼り付け(&P)"};
    const char keys[] = {'X', 'C', 'V'};
    const char* const tips[] = {" 切り取り ", " ｺﾋﾟｰ ", " 貼り付け "};
    const char* const pictures[] = {"cut", "copy", "paste"};
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        rows.push_back({.item = &mnuEditCutCopyPaste[k],
                        .name = "mnuEditCutCopyPaste",
                        .menu = &mnuEdit,
                        .caption = edits[k],
                        .shortcut = Shortcut::ctrlKey(keys[k]),
                        .tool = {5 + i, tips[k], pictures[k]},
                        .run = [this, i] { mnuEditCutCopyPaste_Click(i); },
                        .index = i});
    }
    rows.insert(
        rows.end(),
        {
            {TOSBEL_COMMAND(mnuEditDummy), .menu = &mnuEdit, .caption = "-"},
            {TOSBEL_COMMAND(mnuEditDelete), .menu = &mnuEdit, .caption = "削除(&D)...",
             .shortcut = Shortcut::ctrlKey('D'), .tool = {9, " 削除 ", "delete"},
             .run = [this] { mnuEditDelete_Click(); }},

            {TOSBEL_COMMAND(mnuOption), .caption = "ｵﾌﾟｼｮﾝ(&O)"},
            {TOSBEL_COMMAND(mnuOptBack), .menu = &mnuOption, .caption = "ﾀﾞﾌﾞﾙｸﾘｯｸで戻る(&D)"},
        });
    // A new roster has its own help page.
    const std::vector<Command> help = helpMenuRows(
        *this, {mnuHelp, mnuHelpContext_KeyWord, mnuDummy2, "mnuDummy2", mnuVersion, 11, 12},
        [this] { return state_.RosterPath.empty() ? help_page::NewRoster : help_page::Roster; },
        links_.version);
    rows.insert(rows.end(), help.begin(), help.end());
    commands_.declare(*this, std::move(rows));

    bindOptionToggle(*this, mnuOptBack, &AppState::OptDbl2, state_, section::Config, key::OptDbl2);
    commands_.layToolbar(Toolbar1, 12, {1, 4, 8, 10});
}

void RosterEditor::Form_Load() {
    height = kHeight + (windowsXp_ ? state_.XpHeightExtra : 0);
    width = kWidth;
    const int count = std::clamp<int>(state_.MemberCount, 0, kMaxMembers);
    for (int k = 1; k <= count; ++k) {
        TextBox& box = Text1[static_cast<std::size_t>(k - 1)];
        const std::string& member = state_.Members[static_cast<std::size_t>(k)];
        box.setText(member);
        // A name from a UTF-8 class list may hold a character code page 932
        // lacks: shown whole, so that saving names it instead of dropping it.
        if (!cp932ByteLength(member)) box.text = member;
    }
    openedWith_ = boxTexts();
    if (!listed_.empty()) fillBoxes(0, std::exchange(listed_, {}));
    history_.restart(boxes());
    placeWindow(*this, state_, kRosterEditorPlace);
    clock_.show();
}

bool RosterEditor::Form_QueryUnload(UnloadMode) {
    // Every way out keeps the window's place; none of them asks anything.
    saveWindowPlace(*this, state_, kRosterEditorPlace);
    return true;
}

void RosterEditor::Form_DblClick() {
    if (state_.OptDbl2 == "1") close();
}

// Editing ----------------------------------------------------------------------

void RosterEditor::mnuEditCutCopyPaste_Click(int index) {
    TextBox& box = Text1[static_cast<std::size_t>(std::clamp(T_Index, 0, 99))];
    switch (index) {
        case 0:
            platform().setClipboardText(box.selectedText());
            box.replaceSelection("");
            break;
        case 1:
            platform().setClipboardText(box.selectedText());
            break;
        case 2:
            pasteText(platform().clipboardText());
            break;
        default:
            break;
    }
    // A cut or a paste is a step of its own, not part of the typing around it.
    history_.typingEnded();
}

RosterEditor::Boxes RosterEditor::boxes() const {
    Boxes now;
    for (std::size_t k = 0; k < Text1.size(); ++k) {
        now.names[k] = Text1[k].text;
        now.absent[k] = Check1[k].value;
    }
    return now;
}

void RosterEditor::showBoxes(const Boxes& shown) {
    for (std::size_t k = 0; k < Text1.size(); ++k) {
        // A name code page 932 cannot hold stays whole, as when it came in.
        Text1[k].text = shown.names[k];
        // Set as it was, without the click that would make it a new step.
        Check1[k].value = shown.absent[k];
    }
}

void RosterEditor::recordStep() {
    if (boxes() != history_.settled()) history_.changed(boxes());
    commands_.refresh();
}

void RosterEditor::mnuUndo_Click() {
    if (const auto shown = history_.undo(boxes())) showBoxes(*shown);
    commands_.refresh();
}

void RosterEditor::mnuRedo_Click() {
    if (const auto shown = history_.redo(boxes())) showBoxes(*shown);
    commands_.refresh();
}

void RosterEditor::mnuEditDelete_Click() {
    if (platform().messageBox(kDeleteMember) != MsgAnswer::Ok) return;
    const auto i = static_cast<std::size_t>(std::clamp(T_Index, 0, 99));
    Text1[i].setText("");
    Check1[i].setValue(0);
    recordStep();
}

void RosterEditor::Text1_GotFocus(int index) {
    T_Index = index;
    history_.typingEnded();
    const auto i = static_cast<std::size_t>(index);
    for (Control* c : {static_cast<Control*>(&Text1[i]), static_cast<Control*>(&Label1[i])}) {
        c->backColor = kFocusBack;
        c->foreColor = kFocusText;
    }
}

void RosterEditor::Text1_LostFocus(int index) {
    const auto i = static_cast<std::size_t>(index);
    for (Control* c : {static_cast<Control*>(&Text1[i]), static_cast<Control*>(&Label1[i])}) {
        c->backColor = kBoxBack;
        c->foreColor = kBlack;
    }
}

void RosterEditor::Text1_KeyPress(int index, KeyPress& press) {
    Text1[static_cast<std::size_t>(index)].inputMethod = true;
    if (press.key != kKeyEnter) return;
    press.key = 0;
    focusNext();
}

// Dragging a name copies it, with its attendance mark, to another box.

void RosterEditor::Text1_MouseDown(int index) {
    TextBox& box = Text1[static_cast<std::size_t>(index)];
    dragPayload_ = box.text;
    box.drag();
}

void RosterEditor::setDragIcons(const char* picture) {
    for (TextBox& box : Text1) box.dragIcon = picture;
}

void RosterEditor::Form_DragOver(Control&, DragState) {
    setDragIcons("DRAG2.ICO");
}

void RosterEditor::Text1_DragOver(int) {
    setDragIcons("DRAG.ICO");
}

void RosterEditor::Text1_DragDrop(int index, const Control& source) {
    // The mark comes from the box the drag started in: the focused one, as the
    // press that started the drag focused it.
    const bool fromNameBox = source.form == this && source.name == "Text1";
    const int from = std::clamp(fromNameBox ? source.index : T_Index, 0, 99);
    const auto j = static_cast<std::size_t>(index);
    Text1[j].setText(dragPayload_);
    Check1[j].setValue(Check1[static_cast<std::size_t>(from)].value);
    Text1[j].setFocus();
    recordStep();
}

}  // namespace tosbel
