#include "tests/qt/every_window.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "conditions/conditions_window.h"
#include "conditions/seat_wishes_window.h"
#include "core/app_state.h"
#include "results/no_print_window.h"
#include "results/result_window.h"
#include "roster/class_list_window.h"
#include "roster/roster_editor.h"
#include "shell/countdown_settings.h"
#include "shell/countdown_window.h"
#include "shell/logo_window.h"
#include "shell/main_window.h"
#include "shell/shell.h"
#include "tools/background_window.h"
#include "tools/backup_window.h"
#include "tools/editing_software.h"
#include "tools/file_management.h"
#include "tools/version_window.h"

namespace tosbel {

namespace {

QWidget* shownWindowOf(const Form& f) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QString::fromStdString(f.name)) return w;
    return nullptr;
}

void showAndLook(Form& f, const std::function<void(Form&, QWidget&)>& look) {
    f.show();
    QWidget* w = shownWindowOf(f);
    EXPECT_NE(w, nullptr) << f.name;
    if (w) look(f, *w);
    if (f.isLoaded()) f.discard();
}

}  // namespace

void forEveryWindow(QtPlatform& platform, const std::function<void(Form&, QWidget&)>& look) {
    platform.settings().save("Config", "OptLogo", "0");
    Shell shell(platform);
    shell.startUp();
    AppState& s = shell.state();
    const char* names[] = {"相田　一郎", "石川", "上野"};
    for (std::size_t k = 1; k <= 3; ++k) {
        s.Members[k] = names[k - 1];
        s.SeatResult[k] = s.InitialSeats[k] = names[k - 1];
    }
    s.MemberCount = s.RegisteredCount = 3;
    s.SeatConditions[10] = std::string(kEmptySeatMark);
    s.RosterPath = "1組.MEM";

    if (MainWindow* main = shell.mainWindow()) {
        QWidget* w = shownWindowOf(*main);
        EXPECT_NE(w, nullptr);
        if (w) look(*main, *w);
    }
    LogoWindow logo(platform);
    showAndLook(logo, look);
    RosterEditor editor(s, platform, {}, false);
    showAndLook(editor, look);
    ConditionsWindow conditions(s, platform, {}, false);
    showAndLook(conditions, look);
    // The longest marks a pupil can have and a pair, so the captions the
    // window makes are looked at too.
    s.Wishes.pupils = {{"相田　一郎", RowWish::FrontTwo, Sex::Girl, true}};
    s.Wishes.pairs = {{"石川", "上野", PairKind::Near, 1}};
    SeatWishesWindow wishes(s, platform);
    showAndLook(wishes, look);
    // A school system's export with every column in use and long cells.
    ListTable list = {{"学年", "組", "出席番号", "氏名", "ふりがな", "性別", "生年月日", "住所",
                       "保護者氏名", "電話番号", "備考"}};
    for (int k = 1; k <= 9; ++k)
        list.push_back({"3", "2", std::to_string(k), "長谷川　由紀子", "はせがわ　ゆきこ", "女",
                        "2015/04/02", "東京都千代田区", "長谷川　一郎", "03-1234-5678", "-"});
    ClassListWindow classList(platform, list);
    showAndLook(classList, look);
    ResultWindow result(s, platform, {}, false);
    showAndLook(result, look);
    CountdownWindow countdown(s, platform);
    showAndLook(countdown, look);
    CountdownSettings countdownSettings(s, platform);
    showAndLook(countdownSettings, look);
    NoPrintWindow noPrint(s, platform);
    showAndLook(noPrint, look);
    FileCopyWindow copy(s, platform);
    showAndLook(copy, look);
    RenameWindow rename(s, platform);
    showAndLook(rename, look);
    BackupWindow backup(s, platform, std::nullopt);
    showAndLook(backup, look);
    BackgroundWindow background(s, platform, {});
    showAndLook(background, look);
    EditingSoftware editing(s, platform);
    showAndLook(editing, look);
    VersionWindow version(platform);
    showAndLook(version, look);
}

}  // namespace tosbel
