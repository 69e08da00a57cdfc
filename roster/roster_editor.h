#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/edit_history.h"
#include "core/window_parts.h"
#include "platform/commands.h"
#include "platform/form.h"
#include "roster/class_list.h"

namespace tosbel {

struct AppState;

// What the editor hands on to the rest of the program.
struct RosterEditorLinks {
    // The version window; without it the version commands stay off.
    std::function<void()> version;
    // Runs after a completed save has closed the editor: the attendee list is
    // in Members.
    std::function<void()> saved;
};

// TOUROKU, where the teacher types up to 100 names, marks who is absent today
// and saves the roster. A completed save writes every name to the file and
// leaves only today's attendees in Members.
class RosterEditor final : public Form {
public:
    RosterEditor(AppState& state, Platform& platform, RosterEditorLinks links, bool windowsXp);

    // Entry i stands for member number i + 1; four groups of 25 down the window.
    std::array<Label, 12> Label2;   // column headings
    std::array<Label, 100> Label1;  // "1" … "100"
    std::array<TextBox, 100> Text1;
    std::array<CheckBox, 100> Check1;  // ticked: absent today
    Toolbar Toolbar1;
    StatusBar StatusBar1;

    MenuItem mnuFile, mnuFileOverWrite, mnuNewFile, mnuImport, mnuExport, mnuFileDummy, mnuCancel;
    MenuItem mnuEdit, mnuUndo, mnuRedo, mnuEditUndoRule;
    std::array<MenuItem, 3> mnuEditCutCopyPaste;
    MenuItem mnuEditDummy, mnuEditDelete;
    MenuItem mnuOption, mnuOptBack;
    MenuItem mnuHelp;
    std::array<MenuItem, 2> mnuHelpContext_KeyWord;
    MenuItem mnuDummy2, mnuVersion;

    // The name box that last had the focus: the one the edit commands work on.
    int T_Index = 0;

    // Names from a class list, put into the boxes from the first when the
    // window opens.
    void openWithList(std::vector<ListedName> names) { listed_ = std::move(names); }
    // Puts names into the boxes from box `first` down, one step of the undo
    // history: asks before names already there are replaced, and tells of
    // names cut to the box, left out past box 100, or not writable to a roster.
    void fillBoxes(int first, const std::vector<ListedName>& names);

    // The program is ending: names its Close would ask about get the same
    // question, and OK saves them as a new file. False when that save did not
    // happen, so the names are not lost.
    bool offerSaveBeforeEnd();

    void Form_Load() override;
    void Form_DblClick() override;
    void Form_DragOver(Control& source, DragState state) override;
    bool Form_QueryUnload(UnloadMode mode) override;

    void mnuFileOverWrite_Click();
    void mnuNewFile_Click();
    void mnuCancel_Click();
    void mnuImport_Click();
    void mnuExport_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuEditCutCopyPaste_Click(int index);
    void mnuEditDelete_Click();
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    void Text1_KeyPress(int index, KeyPress& press);
    void Text1_MouseDown(int index);
    void Text1_DragOver(int index);
    void Text1_DragDrop(int index, const Control& source);

private:
    enum class Save { Overwrite, As };
    // What the boxes show, for undo and redo.
    struct Boxes {
        std::array<std::string, 100> names;
        std::array<int, 100> absent{};
        bool operator==(const Boxes&) const = default;
    };

    void declareControls();
    void declareMenus();
    // Members from the boxes; false when the save goes no further.
    bool buildMemberList(Save command);
    // Writes the roster and hands over; false when it was not written.
    bool writeRoster(Save command, const std::string& path);
    bool namesRoundTrip();
    // False, with the name check's notice and the box focused, when box i
    // holds a name the roster file would not give back as it is.
    bool nameWritable(std::size_t i);
    bool boxesDifferFromMembers() const;
    std::vector<std::string> boxTexts() const;
    void setDragIcons(const char* picture);
    Boxes boxes() const;
    // A paste of several lines or cells is a class list; anything else goes
    // into the focused box.
    void pasteText(const std::string& text);
    void showBoxes(const Boxes& shown);
    // A change the program made to the boxes becomes one step.
    void recordStep();
    // The sexes a class list gave, into the wish file of the roster saved
    // at `path`, for the names it holds.
    void keepListedSexes(const std::string& path, const std::vector<std::string>& names);
    std::vector<ListedName> listedBoxes() const;

    AppState& state_;
    RosterEditorLinks links_;
    bool windowsXp_;
    // The attendance box each of Members 1 … 100 came from, by the last build.
    std::array<bool, 101> absent_{};
    std::string dragPayload_;
    std::vector<std::string> openedWith_;  // the names the boxes were filled with
    EditHistory<Boxes> history_;
    std::vector<ListedName> listed_;
    // Sexes from class lists taken in since the last save, by the name as
    // its box holds it.
    std::map<std::string, Sex> sexes_;
    StatusClock clock_{*this, StatusBar1, 4, state_};
    CommandTable commands_;
};

}  // namespace tosbel
