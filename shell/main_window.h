#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/window_parts.h"
#include "platform/commands.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace tosbel {

class Shell;
struct AppState;

// TOSBEL, the title screen every other window is reached from. It is closed by
// the shuffle and reopened by the result window, so everything it shows is
// rebuilt from the shared state when it loads.
class MainWindow final : public Form {
public:
    explicit MainWindow(Shell& shell);

    // Declared bottom to top: the picture, the shadows, then the lettering.
    Image Image1;
    std::array<Label, 1> Label2;  // shadow of "Tosbel"
    Label Label3;                 // shadow of "君"
    Label Label4;                 // shadow of the "for Windows" line
    Label Label1;                 // "Tosbel"
    Label Label5;                 // "君"
    Label Label7;                 // "for Windows 98/Me/NT/2000/XP"
    Toolbar Toolbar1;
    StatusBar StatusBar1;

    MenuItem mnuFile, mnuFileCreate, mnuFileOpen, mnuImport, mnuExport, mnuFileTosbel;
    MenuArray mnuFileArray2{"mnuFileArray2", "-"};
    MenuItem mnuDummy7, mnuEnd;
    MenuItem mnuDataManage, mnuFileCopy, mnuFileRename, mnuBackup, mnuDummy8, mnuFileDelete;
    MenuItem mnuLog, mnuResult;
    MenuArray mnuFileArray{"mnuFileArray", "-"};
    MenuItem mnuOption, mnuInitialEdit, mnuOptLogo, mnuOptDouble, mnuOptEnvCnter, mnuMainColor;
    MenuItem mnuOptCountDown, mnuOptEnvCntSet, mnuOptEnvCntSoft, mnuOptEnvCntRun, mnuCondition;
    MenuItem mnuWishes;
    MenuItem mnuHelp;
    std::array<MenuItem, 2> mnuHelpContext_KeyWord;
    MenuItem mnuHelpDummy, mnuVersion;

    // The conditions window has loaded: a roster is in hand, so creating or
    // opening another is off and the conditions and the shuffle are on.
    void conditionsLoaded();
    // The result window was opened, or returned with a roster in hand.
    void resultAvailable();
    // The past logs as the history file lists them now: a save made while
    // this window stays open shows under "過去ﾛｸﾞ" at once.
    void listPastLogs();
    // The background theme or picture and the lettering's colours, as the
    // shared state has them now.
    void showBackground();

    // Adds an entry to the past logs or the recent rosters.
    void UpdateMenu(const std::string& path);
    void UpdateFileMenu(const std::string& path);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Paint(Canvas& canvas) override;
    void Form_DblClick() override;
    bool Form_QueryUnload(UnloadMode mode) override;
    void Form_Unload() override;

    void mnuFileCreate_Click();
    void mnuImport_Click();
    void mnuExport_Click();
    void mnuFileOpen_Click();
    void mnuFileArray2_Click(int index);
    void mnuFileArray_Click(int index);
    void mnuResult_Click();
    void mnuEnd_Click();
    void mnuOptEnvCnter_Click();
    void mnuHelpContext_KeyWord_Click(int index);

    // Every command of the window, as its menus and toolbar show it.
    const CommandTable& commands() const { return commands_; }

private:
    // A roster not yet saved, with no names, conditions or wishes.
    void startNewRoster();
    void declareCommands();
    void colourLettering();
    void layOut();
    void savePosition();
    // The roster read, or the notice that says why it could not be.
    std::optional<Message> readRosterIntoState(const std::string& path, const Message& missing);
    void appendEntry(MenuArray& list, std::uint8_t& count, const std::string& path);
    static std::string historyKey(std::size_t i);
    // The whole roster history, Rireki(0) … Rireki(4), is saved at once.
    void saveHistory();
    void updateHistory(const std::function<void(std::array<std::string, 5>&)>& change);

    Shell& shell_;
    AppState& state_;
    bool ending_ = false;
    bool rosterCommandsOn_ = true;
    bool conditionsOn_ = false;
    bool resultOn_ = false;
    StatusClock clock_{*this, StatusBar1, 2, state_};
    CommandTable commands_;
};

}  // namespace tosbel
