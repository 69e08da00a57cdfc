#pragma once

#include <array>
#include <functional>
#include <string>

#include "conditions/condition_rules.h"
#include "core/window_parts.h"
#include "platform/commands.h"
#include "platform/form.h"

namespace tosbel {

struct AppState;

// What the conditions window hands on to the rest of the program.
struct ConditionsWindowLinks {
    // The version window; without it the version commands stay off.
    std::function<void()> version;
    // The window has opened: the main window turns creating and opening a
    // roster off and the conditions and the shuffle on.
    std::function<void()> opened;
    // A commit or a discard has closed the window: the main window shows again.
    std::function<void()> done;
    // The seat wishes window; without it the wishes command stays off.
    std::function<void()> wishes = {};
};

// COND, where the teacher fixes attendees to seats and keeps seats empty on a
// chart of the classroom, dragging names from the list of today's attendees.
// Seat box k is seat k + 1: row k / 10 (A at the top), column k % 10 + 1.
class ConditionsWindow final : public Form {
public:
    ConditionsWindow(AppState& state, Platform& platform, ConditionsWindowLinks links,
                     bool windowsXp);

    std::array<TextBox, 100> Text1;    // name boxes
    std::array<CheckBox, 100> Check1;  // ticked: the seat is kept empty
    std::array<Label, 100> Label1;     // "A 1" … "J 10"
    std::array<CheckBox, 10> Check2;   // a whole row A … J
    std::array<CheckBox, 10> Check3;   // a whole column 1 … 10
    Label Label2;                      // "登録者一覧"
    std::array<Label, 15> Label4;      // one page of today's attendees
    ScrollBar HScroll1;                // the page shown
    std::array<Line, 11> Line1;
    Toolbar Toolbar1;
    StatusBar StatusBar1;

    MenuItem mnuFile, mnuCond, mnuNO;
    MenuItem mnuEdit, mnuEditAllSpaceZaseki, mnuEditDummy, mnuEditDelete, mnuEditInit;
    MenuItem mnuEditDummy2, mnuWishes;
    MenuItem mnuOption, mnuOptBack;
    MenuItem mnuHelp;
    std::array<MenuItem, 2> mnuHelpContext_KeyWord;
    MenuItem mnuDummy3, mnuVersion;

    // The seat box that last had the focus: the one delete works on.
    int T_Index = 0;

    // Shows attendees `first` … `last` (1-based) in the name labels.
    void Tourokusha(int first, int last);

    void Form_Load() override;
    void Form_DblClick() override;
    void Form_DragOver(Control& source, DragState state) override;
    bool Form_QueryUnload(UnloadMode mode) override;

    void mnuCond_Click();
    void mnuNO_Click();
    void mnuEditAllSpaceZaseki_Click();
    void mnuEditDelete_Click();
    void mnuEditInit_Click();

private:
    void declareControls();
    void declareMenus();
    // The sheet the rules check, from the boxes, and back.
    ConditionSheet sheet() const;
    void fill(const ConditionSheet& sheet);
    void seatTicked(int k);
    void rowTicked(int r);
    void columnTicked(int c);
    void setDragIcons(const char* picture);
    // Every way out stores the window's place; a double-click return also
    // keeps it in memory.
    void storePlace();

    AppState& state_;
    ConditionsWindowLinks links_;
    bool windowsXp_;
    StatusClock clock_{*this, StatusBar1, 4, state_};
    CommandTable commands_;
};

}  // namespace tosbel
