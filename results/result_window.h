#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/edit_history.h"
#include "core/window_parts.h"
#include "platform/commands.h"
#include "platform/form.h"
#include "platform/printed_page.h"
#include "results/chart_layout.h"

namespace tosbel {

struct AppState;

// What the result window hands on to the rest of the program.
struct ResultWindowLinks {
    // The version window; without it the version commands stay off.
    std::function<void()> version;
    // The window opened with a roster in hand: the main window, where it is
    // shown, turns "先程の結果" on.
    std::function<void()> resultAvailable;
    // The window has closed by OK, a save, a double-click or its close box:
    // the main window shows again, so the teacher is never left with no
    // window.
    std::function<void()> done;
    // A chart was saved and recorded in the history: a main window still
    // shown lists the new past log at once.
    std::function<void()> saved;
    // Shuffles today's class again with the same conditions and wishes; the
    // new chart fills this window. Without it "もう一度" stays off.
    std::function<void()> shuffleAgain;
};

// RESULT, the seating chart a shuffle, the last result or a past log opens.
// The teacher moves the whole chart, drags one member to an empty seat or
// restores the chart it opened with; the chart lives in the boxes only, so
// the result in the shared state is never changed here.
// Seat box k is position k + 1: row k / 10 (A at the top), column k % 10 + 1.
class ResultWindow final : public Form {
public:
    ResultWindow(AppState& state, Platform& platform, ResultWindowLinks links, bool windowsXp);

    std::array<TextBox, 100> Text1;
    std::array<Label, 100> Label1;  // "A 1" … "J 10"
    Toolbar Toolbar1;
    StatusBar StatusBar1;

    Label lblBoard, lblDesk;  // "黒板" and "教卓", on the side of row A

    MenuItem mnuFile, mnuResultSave, mnuPrint, mnuPrintPreview, mnuSavePdf, mnuSavePicture,
        mnuSaveTable, mnuFileRule, mnuShuffleAgain, mnuFileRule2, mnuOK;
    MenuItem mnuEdit, mnuUndo, mnuRedo, mnuEditUndoRule;
    std::array<MenuItem, 4> mnuEditMove;  // left, right, up, down
    MenuItem mnuEditRule, mnuEditInitial;
    MenuItem mnuView, mnuTeacherView, mnuClassroom;
    MenuItem mnuOption, mnuOptBack, mnuOptionRule, mnuOptFont, mnuOptColorPrt, mnuNoPrintLine,
        mnuPrintStatusBar;
    MenuItem mnuHelp;
    std::array<MenuItem, 2> mnuHelpContext_KeyWord;
    MenuItem mnuHelpRule, mnuVersion;

    // The seat box that last had the focus: where a drag starts.
    int T_Index = 0;

    // The caller fills the chart before it shows the window: box k and slot
    // k + 1 of InitialSeats take position k + 1's text.
    void fill(const std::array<std::string, 100>& seats);
    std::array<std::string, 100> seats() const;

    void Form_Load() override;
    void Form_DblClick() override;
    void Form_DragOver(Control& source, DragState state) override;
    bool Form_QueryUnload(UnloadMode mode) override;
    void Form_Unload() override;

    void mnuResultSave_Click();
    void mnuPrint_Click();
    void mnuPrintPreview_Click();
    void mnuSavePdf_Click();
    void mnuSavePicture_Click();
    void mnuSaveTable_Click();
    void mnuClassroom_Click();
    void mnuNoPrintLine_Click();
    void mnuOK_Click();
    void mnuEditMove_Click(int index);
    void mnuEditInitial_Click();
    void mnuOptFont_Click();
    void mnuTeacherView_Click();
    void mnuShuffleAgain_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();

    ChartView view() const { return view_; }

private:
    void declareControls();
    void declareMenus();
    void setChartFont(const char* fontName);
    void setDragIcons(const char* picture);
    void dropOn(int index);
    void layOutChart();
    void showChart(const std::array<std::string, 100>& chart);
    // Each hand change is one step of the undo history.
    void changeChart(const std::array<std::string, 100>& chart);
    void typed(int index);
    bool changedByHand() const;
    // The chart as paper shows it: white, black labels, boxes grey or white
    // by the colour option, without the rows and columns marked not to print
    // and, by its option, without the status bar.
    PrintedPage printedChart() const;

    AppState& state_;
    ChartView view_ = ChartView::Pupils;
    using Chart = std::array<std::string, 100>;
    EditHistory<Chart> history_;
    // The chart shown came from the last shuffle of the class in hand.
    bool shuffled_ = false;
    ResultWindowLinks links_;
    bool windowsXp_;
    bool returnsToMain_ = false;
    StatusClock clock_{*this, StatusBar1, 2, state_};
    CommandTable commands_;
};

// Shifts the 100 seats one place, cyclically, empty seats alike: 0 left,
// 1 right, 2 up, 3 down. Left brings column 1 round to column 10 of the same
// row; up brings row A round to row J.
void rotateChart(std::array<std::string, 100>& seats, int direction);

}  // namespace tosbel
