// The main window's commands: its menus, its toolbar and when each is on,
// from one table.

#include "conditions/seat_wishes_window.h"
#include "core/help_pages.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "shell/main_window.h"
#include "shell/shell.h"

namespace tosbel {

namespace {

constexpr int kToolButtons = 37;

}  // namespace

void MainWindow::declareCommands() {
    WindowOpeners& w = shell_.windows();
    // A command that opens another window runs it when it is there, and is
    // off while it is not.
    using Opener = std::function<void()> WindowOpeners::*;
    const auto opens = [&w](Opener window) {
        return [&w, window] {
            if (w.*window) (w.*window)();
        };
    };
    const auto there = [&w](Opener window) { return [&w, window] { return bool(w.*window); }; };
    const auto editor = [&w] { return bool(w.rosterEditor); };
    const auto result = [&w] { return bool(w.result); };
    // Creating or opening a roster is off once the conditions window has one.
    const auto rosterCommands = [this, editor] { return rosterCommandsOn_ && editor(); };
    // The conditions and the shuffle need a roster in hand.
    const auto withRoster = [this, &w](Opener window) {
        return [this, &w, window] { return conditionsOn_ && bool(w.*window); };
    };

    commands_.declare(
        *this,
        {
            {TOSBEL_COMMAND(mnuFile), .caption = "ﾌｧｲﾙ(&F)"},
            {TOSBEL_COMMAND(mnuFileCreate), .menu = &mnuFile, .caption = "名簿の新規作成(&N)",
             .shortcut = Shortcut::ctrlKey('N'), .tool = {2, " 名簿の新規作成 ", "new"},
             .help = help_page::NewRoster, .enabled = rosterCommands,
             .run = [this] { mnuFileCreate_Click(); }},
            {TOSBEL_COMMAND(mnuFileOpen), .menu = &mnuFile, .caption = "名簿を開く(&O)...",
             .shortcut = Shortcut::ctrlKey('O'), .tool = {3, " 名簿を開く ", "open"},
             .help = help_page::Roster, .enabled = rosterCommands,
             .run = [this] { mnuFileOpen_Click(); }},
            {TOSBEL_COMMAND(mnuImport), .menu = &mnuFile, .caption = "名簿の取り込み(&I)...",
             .help = help_page::ClassList,
             .enabled = [rosterCommands, &w] { return rosterCommands() && bool(w.listedRoster); },
             .run = [this] { mnuImport_Click(); }},
            {TOSBEL_COMMAND(mnuExport), .menu = &mnuFile, .caption = "名簿の書き出し(&E)...",
             .enabled = [this] { return conditionsOn_ && !state_.RosterPath.empty(); },
             .run = [this] { mnuExport_Click(); }},
            {TOSBEL_COMMAND(mnuFileTosbel), .menu = &mnuFile, .caption = "Tosbel実行(&G)",
             .shortcut = Shortcut::ctrlKey('G'), .tool = {8, " Tosbel実行 ", "run"},
             .help = help_page::Result, .enabled = withRoster(&WindowOpeners::shuffle),
             .run = opens(&WindowOpeners::shuffle)},
            listRow(mnuFileArray2, mnuFile, editor),
            {TOSBEL_COMMAND(mnuDummy7), .menu = &mnuFile, .caption = "-"},
            {TOSBEL_COMMAND(mnuEnd), .menu = &mnuFile, .caption = "Tosbel君 の終了(&X)...",
             .tool = {9, " 終了 ", "exit"}, .run = [this] { mnuEnd_Click(); }},

            {TOSBEL_COMMAND(mnuDataManage), .caption = "ﾃﾞｰﾀ管理(&M)"},
            {TOSBEL_COMMAND(mnuFileCopy), .menu = &mnuDataManage, .caption = "ｺﾋﾟｰ(&C)...",
             .help = help_page::FileCopy, .enabled = there(&WindowOpeners::fileCopy),
             .run = opens(&WindowOpeners::fileCopy)},
            {TOSBEL_COMMAND(mnuFileRename), .menu = &mnuDataManage, .caption = "名前の変更(&R)...",
             .help = help_page::FileRename, .enabled = there(&WindowOpeners::fileRename),
             .run = opens(&WindowOpeners::fileRename)},
            {TOSBEL_COMMAND(mnuBackup), .menu = &mnuDataManage, .caption = "ﾊﾞｯｸｱｯﾌﾟ(&B)...",
             .help = help_page::Backup, .enabled = there(&WindowOpeners::backup),
             .run = opens(&WindowOpeners::backup)},
            {TOSBEL_COMMAND(mnuDummy8), .menu = &mnuDataManage, .caption = "-"},
            {TOSBEL_COMMAND(mnuFileDelete), .menu = &mnuDataManage, .caption = "削除(&D)...",
             .tool = {5, " ﾌｧｲﾙの削除 ", "delete"}, .enabled = there(&WindowOpeners::fileDelete),
             .run = opens(&WindowOpeners::fileDelete)},

            {TOSBEL_COMMAND(mnuLog), .caption = "過去ﾛｸﾞ(&L)"},
            {TOSBEL_COMMAND(mnuResult), .menu = &mnuLog, .caption = "先程の結果(&R)",
             .shortcut = Shortcut::ctrlKey('R'), .help = help_page::Result,
             .enabled = [this, result] { return resultOn_ && result(); },
             .run = [this] { mnuResult_Click(); }},
            listRow(mnuFileArray, mnuLog, result),

            {TOSBEL_COMMAND(mnuOption), .caption = "ｵﾌﾟｼｮﾝ(&O)"},
            {TOSBEL_COMMAND(mnuInitialEdit), .menu = &mnuOption, .caption = "環境設定(&E)"},
            {TOSBEL_COMMAND(mnuOptLogo), .menu = &mnuInitialEdit, .caption = "ﾛｺﾞの表示(&L)"},
            {TOSBEL_COMMAND(mnuOptDouble), .menu = &mnuInitialEdit,
             .caption = "ﾀﾞﾌﾞﾙｸﾘｯｸで終了(&D)"},
            {TOSBEL_COMMAND(mnuOptEnvCnter), .menu = &mnuInitialEdit,
             .caption = "画面のｾﾝﾀﾘﾝｸﾞ(&C)", .run = [this] { mnuOptEnvCnter_Click(); }},
            {TOSBEL_COMMAND(mnuMainColor), .menu = &mnuInitialEdit, .caption = "背景(&B)...",
             .help = help_page::Background, .enabled = there(&WindowOpeners::background),
             .run = opens(&WindowOpeners::background)},
            {TOSBEL_COMMAND(mnuOptCountDown), .menu = &mnuInitialEdit,
             .caption = "ｶｳﾝﾄﾀﾞｳﾝ画面(&K)"},
            {TOSBEL_COMMAND(mnuOptEnvCntSet), .menu = &mnuOptCountDown, .caption = "詳細(&S)...",
             .help = help_page::Countdown, .enabled = there(&WindowOpeners::countdownSettings),
             .run = opens(&WindowOpeners::countdownSettings)},
            {TOSBEL_COMMAND(mnuOptEnvCntSoft), .menu = &mnuOptCountDown,
             .caption = "編集ｿﾌﾄ(&F)...", .help = help_page::EditingSoftware,
             .enabled = there(&WindowOpeners::editingSoftware),
             .run = opens(&WindowOpeners::editingSoftware)},
            {TOSBEL_COMMAND(mnuOptEnvCntRun), .menu = &mnuOptCountDown,
             .caption = "編集ｿﾌﾄの起動(&E)", .shortcut = Shortcut::ctrlKey('E'),
             .tool = {37, "", "paint"}, .enabled = there(&WindowOpeners::runEditingSoftware),
             .run = opens(&WindowOpeners::runEditingSoftware)},
            {TOSBEL_COMMAND(mnuCondition), .menu = &mnuOption, .caption = "Tosbel条件(&S)",
             .shortcut = Shortcut::ctrlKey('S'), .tool = {7, " Tosbel条件の変更 ", "conditions"},
             .help = help_page::Conditions, .enabled = withRoster(&WindowOpeners::conditions),
             .run = opens(&WindowOpeners::conditions)},
            {TOSBEL_COMMAND(mnuWishes), .menu = &mnuOption, .caption = "席の希望(&W)...",
             .help = help_page::SeatWishes, .enabled = withRoster(&WindowOpeners::conditions),
             .run = [this] { showSeatWishes(state_, platform()); }},

            {TOSBEL_COMMAND(mnuHelp), .caption = "ﾍﾙﾌﾟ(&H)"},
            {.item = &mnuHelpContext_KeyWord[0],
             .name = "mnuHelpContext_KeyWord",
             .menu = &mnuHelp,
             .caption = "ﾄﾋﾟｯｸの検索(&H)",
             .shortcut = Shortcut{vk::F1},
             .run = [this] { mnuHelpContext_KeyWord_Click(0); },
             .index = 0},
            {.item = &mnuHelpContext_KeyWord[1],
             .name = "mnuHelpContext_KeyWord",
             .menu = &mnuHelp,
             .caption = "目次(&C)",
             .tool = {12, " ﾍﾙﾌﾟ ", "help"},
             .run = [this] { mnuHelpContext_KeyWord_Click(1); },
             .index = 1},
            {TOSBEL_COMMAND(mnuHelpDummy), .menu = &mnuHelp, .caption = "-"},
            {TOSBEL_COMMAND(mnuVersion), .menu = &mnuHelp, .caption = "ﾊﾞｰｼﾞｮﾝ情報(&A)...",
             .tool = {11, " ﾊﾞｰｼﾞｮﾝ情報 ", "version"}, .enabled = there(&WindowOpeners::version),
             .run = opens(&WindowOpeners::version)},
        });

    mnuFileArray2.onClick = [this](int i) { mnuFileArray2_Click(i); };
    mnuFileArray.onClick = [this](int i) { mnuFileArray_Click(i); };
    bindOptionToggle(*this, mnuOptLogo, &AppState::OptLogo, state_, section::Config, key::OptLogo);
    bindOptionToggle(*this, mnuOptDouble, &AppState::OptDbl, state_, section::Config, key::OptDbl);

    // 1, 4, 6 and 10 space the groups apart; 13 … 36 are spare places.
    commands_.layToolbar(Toolbar1, kToolButtons, {1, 4, 6, 10});
    for (int i = 13; i <= 36; ++i) {
        Toolbar1.button(i).visible = false;
        Toolbar1.button(i).enabled = false;
    }
}

}  // namespace tosbel
