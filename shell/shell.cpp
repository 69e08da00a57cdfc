#include "shell/shell.h"

#include <filesystem>
#include <system_error>

#include "conditions/conditions_window.h"
#include "conditions/seat_wishes_window.h"
#include "core/display.h"
#include "core/settings.h"
#include "core/shuffle.h"
#include "platform/file_io.h"
#include "results/result_window.h"
#include "roster/roster_editor.h"
#include "shell/countdown_settings.h"
#include "shell/countdown_window.h"
#include "shell/logo_window.h"
#include "shell/main_window.h"
#include "shell/os_name.h"
#include "tools/background_window.h"
#include "tools/backup_window.h"
#include "tools/editing_software.h"
#include "tools/file_management.h"
#include "tools/version_window.h"

namespace tosbel {

Shell::Shell(Platform& platform) : platform_(platform) {
    windows_.rosterEditor = [this](bool modal) { openRosterEditor(modal); };
    windows_.listedRoster = [this](std::vector<ListedName> names) {
        openRosterEditor(true, std::move(names));
    };
    windows_.conditions = [this] { openConditions(); };
    windows_.countdownSettings = [this] { showCountdownSettings(state_, platform_); };
    windows_.result = [this] { openResult(); };
    windows_.shuffle = [this] { shuffle(); };
    windows_.version = [this] { showVersionWindow(platform_); };
    windows_.editingSoftware = [this] { showEditingSoftware(state_, platform_); };
    windows_.runEditingSoftware = [this] { runEditingSoftware(state_, platform_, osName_); };
    windows_.fileCopy = [this] { copyDataFile(state_, platform_); };
    windows_.fileRename = [this] { renameDataFile(state_, platform_); };
    windows_.backup = [this] { showBackupWindow(state_, platform_); };
    windows_.background = [this] {
        showBackgroundWindow(state_, platform_, [this] {
            if (main_) main_->showBackground();
        });
    };
    // A delete may drop past logs whose files are gone: the menu follows.
    windows_.fileDelete = [this] {
        deleteDataFile(state_, platform_);
        if (main_ && main_->isShown()) main_->listPastLogs();
    };
}

Shell::~Shell() = default;

void Shell::startUp() {
    const std::string folder = platform_.programFolder();
    std::error_code ec;
    std::filesystem::current_path(pathOf(folder), ec);

    osName_ = tosbel::osName(platform_.osVersion());

    SettingsStore& store = platform_.settings();
    readLogoOption(state_, store);
    if (state_.OptLogo == "1") {
        LogoWindow logo(platform_);
        logo.showModal();
    }
    readStartupSettings(state_, store, platform_.screen());

    state_.NoMembers = 0;
    state_.ResultShown = 0;
    state_.OpenedFromFile = 0;
    state_.RosterChanged = 0;
    refreshDateTime(state_, platform_.clock());
    state_.XpHeightExtra = kXpHeightExtra;
    showMainWindow();
}

void Shell::showMainWindow() {
    if (main_ && main_->isShown()) return;
    if (main_) platform_.releaseWhenIdle(std::move(main_));
    main_ = std::make_unique<MainWindow>(*this);
    main_->show();
}

bool Shell::mayEnd() {
    if (!editor_ || !editor_->isShown()) return true;
    // Set while the editor asks, so a save made on the way out hands over to
    // no other window.
    ending_ = true;
    if (!editor_->offerSaveBeforeEnd()) ending_ = false;
    return ending_;
}

bool Shell::closeRosterEditor() {
    if (!editor_ || !editor_->isShown()) return true;
    editor_->mnuCancel_Click();
    return !editor_->isShown();
}

void Shell::openRosterEditor(bool modal, std::vector<ListedName> listed) {
    // One editor at a time.
    if (!closeRosterEditor()) return;
    const RosterEditorLinks links{windows_.version, [this] { rosterSaved(); }};
    const bool xp = osName_ == "Windows XP";
    if (modal) {
        RosterEditor editor(state_, platform_, links, xp);
        editor.openWithList(std::move(listed));
        editor.showModal();
        return;
    }
    if (editor_) platform_.releaseWhenIdle(std::move(editor_));
    editor_ = std::make_unique<RosterEditor>(state_, platform_, links, xp);
    editor_->show();
}

void Shell::openConditions() {
    // One conditions window at a time: a second opening would lose what the
    // open one shows.
    if (conditions_ && conditions_->isShown()) return;
    if (conditions_) platform_.releaseWhenIdle(std::move(conditions_));
    const ConditionsWindowLinks links{windows_.version,
                                      [this] {
                                          if (main_) main_->conditionsLoaded();
                                      },
                                      [this] { showMainWindow(); },
                                      [this] { showSeatWishes(state_, platform_); }};
    conditions_ =
        std::make_unique<ConditionsWindow>(state_, platform_, links, osName_ == "Windows XP");
    conditions_->show();
}

void Shell::openResult() {
    std::array<std::string, 100> chart;
    for (std::size_t k = 0; k < chart.size(); ++k) chart[k] = state_.InitialSeats[k + 1];
    // One result window at a time: another chart fills the open one, as the
    // teacher asked for it.
    if (result_ && result_->isShown()) {
        result_->fill(chart);
        return;
    }
    if (result_) platform_.releaseWhenIdle(std::move(result_));
    const auto mainShown = [this] { return main_ && main_->isShown(); };
    const ResultWindowLinks links{windows_.version,
                                  [this, mainShown] {
                                      if (mainShown()) main_->resultAvailable();
                                  },
                                  [this] {
                                      showMainWindow();
                                      if (!state_.RosterPath.empty()) main_->resultAvailable();
                                  },
                                  [this, mainShown] {
                                      if (mainShown()) main_->listPastLogs();
                                  },
                                  [this] { shuffle(); }};
    result_ = std::make_unique<ResultWindow>(state_, platform_, links, osName_ == "Windows XP");
    result_->fill(chart);
    result_->show();
}

void Shell::shuffle() {
    ShuffleWindows windows;
    windows.countdown = [this] { showCountdown(state_, platform_); };
    windows.showResult = [this] {
        if (main_) main_->close(UnloadMode::Program);
        openResult();
    };
    windows.noChart = [this](const std::string& notice) {
        platform_.messageBox({notice, "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation});
    };
    runShuffle(state_, platform_.random(), windows);
}

void Shell::rosterSaved() {
    // A save made on the way out hands over to nothing.
    if (ending_) return;
    if (windows_.conditions)
        windows_.conditions();
    else
        showMainWindow();
}

}  // namespace tosbel
