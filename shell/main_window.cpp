#include "shell/main_window.h"

#include <algorithm>

#include "core/display.h"
#include "core/settings.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "results/result_file.h"
#include "shell/os_name.h"
#include "shell/shell.h"
#include "tools/background_window.h"

namespace tosbel {

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 9000;

const char* const kGuideText =
    "ﾌｧｲﾙ(F) から「名簿の新規作成(N)」または「名簿を開く(O)...」を選択して下さい";
const Message kPastLogMissing{"指定したﾌｧｲﾙがありません。存在を確認して下さい。", "ﾌｧｲﾙの存在確認",
                              MsgButtons::Ok, MsgIcon::Critical};
const Message kExitQuestion{"「Tosbel君 for Windows」 を 終了しますか？", "終了確認",
                            MsgButtons::OkCancel, MsgIcon::Question};

Rgb gradientBand(const AppState& s, int y, int h) {
    const auto cap = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    return {cap(s.BackRed), cap(s.BackGreen), cap(s.BackBlue - (s.BackBlue * y) / h)};
}

}  // namespace

MainWindow::MainWindow(Shell& shell)
    : Form(shell.platform()), shell_(shell), state_(shell.state()) {
    name = "TOSBEL";
    caption = "Tosbel君 for Windows";
    icon = "tosbel";
    width = kWidth;
    height = kHeight;
    backColor = Rgb{0, 0, 0};
    toolbar = &Toolbar1;
    statusBar = &StatusBar1;

    TOSBEL_DECLARE(Image1);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label4);
    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Label5);
    TOSBEL_DECLARE(Label7);

    declareCommands();
    layOut();
}

void MainWindow::layOut() {
    Image1.place(0, 0, clientWidth(), clientHeight());
    Image1.stretch = true;
    Image1.visible = false;

    const auto letter = [](Label& l, const char* text, const char* font, float size) {
        l.caption = text;
        l.font.name = font;
        l.font.size = size;
        l.font.bold = true;
        l.font.italic = true;
    };
    constexpr int kShadow = 75;
    Label1.place(2150, 1850, 5700, 1900);
    Label5.place(7850, 2350, 1700, 1500);
    Label7.place(2250, 4150, 7800, 700);
    Label2[0].place(Label1.left + kShadow, Label1.top + kShadow, Label1.width, Label1.height);
    Label3.place(Label5.left + kShadow, Label5.top + kShadow, Label5.width, Label5.height);
    Label4.place(Label7.left + kShadow / 2, Label7.top + kShadow / 2, Label7.width, Label7.height);
    for (Label* l : {&Label1, &Label2[0]}) letter(*l, "Tosbel", "ＭＳ Ｐ明朝", 84);
    for (Label* l : {&Label5, &Label3}) letter(*l, "君", "ＭＳ Ｐ明朝", 66);
    for (Label* l : {&Label7, &Label4}) {
        letter(*l, "for Windows 98/Me/NT/2000/XP", "Times New Roman", 22);
        l->font.bold = false;
    }

    for (Control* c : controls())
        if (c != &Image1) c->onDblClick = [this] { Form_DblClick(); };
    Image1.onDblClick = [this] { Form_DblClick(); };
    Toolbar1.onDblClick = [this] { Form_DblClick(); };
    StatusBar1.onDblClick = [this] { Form_DblClick(); };

    StatusBar1.panels = {
        {PanelStyle::Text, kGuideText, kGuideText, 7800, true},
        {PanelStyle::Date, "", " 日付 ", 1500, false},
        {PanelStyle::Time, "", " 時間 ", 1500, false},
    };
}

void MainWindow::conditionsLoaded() {
    rosterCommandsOn_ = false;
    conditionsOn_ = true;
    commands_.refresh();
}

void MainWindow::resultAvailable() {
    resultOn_ = true;
    commands_.refresh();
}

void MainWindow::appendEntry(MenuArray& list, std::uint8_t& count, const std::string& path) {
    list[0].visible = true;
    ++count;
    MenuItem& entry = list.load();
    entry.caption = path;
    entry.visible = true;
}

void MainWindow::listPastLogs() {
    // Entries loaded before are used again, and hidden when the list is shorter.
    const int loaded = mnuFileArray.upperBound();
    mnuFileArray[0].visible = false;
    for (int i = 1; i <= loaded; ++i) mnuFileArray[i].visible = false;
    state_.ResultMenuCount = 0;
    for (const std::string& path : readResultHistory(platform().programFolder())) {
        if (state_.ResultMenuCount < loaded) {
            mnuFileArray[0].visible = true;
            MenuItem& entry = mnuFileArray[++state_.ResultMenuCount];
            entry.caption = path;
            entry.visible = true;
            continue;
        }
        UpdateMenu(path);
    }
    commands_.refresh();
}

void MainWindow::UpdateMenu(const std::string& path) {
    appendEntry(mnuFileArray, state_.ResultMenuCount, path);
}

void MainWindow::UpdateFileMenu(const std::string& path) {
    appendEntry(mnuFileArray2, state_.RecentMenuCount, path);
}

void MainWindow::Form_Load() {
    height = kHeight + (shell_.osName() == "Windows XP" ? state_.XpHeightExtra : 0);
    width = kWidth;
    layOut();

    rosterCommandsOn_ = true;
    conditionsOn_ = false;
    resultOn_ = state_.ResultShown == 1;

    placeWindow(*this, state_, kMainWindowPlace);
    mnuOptEnvCnter.checked = state_.OptCent == "1";

    mnuFileArray2[0].visible = false;
    state_.RecentMenuCount = 0;
    listPastLogs();
    for (const std::string& path : state_.Rireki)
        if (!path.empty()) UpdateFileMenu(path);

    showBackground();
    state_.RosterPath.clear();
    commands_.refresh();
}

void MainWindow::Form_Activate() {
    colourLettering();
    clock_.show();
}

void MainWindow::colourLettering() {
    for (Label* l : {&Label1, &Label5, &Label7}) l->foreColor = state_.TitleColor;
    for (Label* l : {&Label2[0], &Label3, &Label4}) l->foreColor = state_.ShadowColor;
}

void MainWindow::showBackground() {
    // A file that is no picture would leave the lettering black on black. The
    // file is looked at when the window loads and when the theme changes, not
    // at every activation.
    const bool picture = state_.OptMColor == "4" && isPictureFile(platform(), state_.Maing);
    Image1.picture = picture ? state_.Maing : std::string();
    Image1.visible = picture;
    colourLettering();
}

void MainWindow::Form_Paint(Canvas& canvas) {
    const int h = clientHeight();
    const int w = clientWidth();
    if (h <= 0) return;
    const int step = std::max(1, h / 16);
    for (int y = 0; y <= h; y += step)
        canvas.fillBox(-1, static_cast<float>(y - 1), static_cast<float>(w),
                       static_cast<float>(y + step), gradientBand(state_, y, h));
}

void MainWindow::Form_DblClick() {
    if (state_.OptDbl == "1") mnuEnd_Click();
}

void MainWindow::savePosition() {
    saveWindowPlace(*this, state_, kMainWindowPlace);
}

void MainWindow::mnuEnd_Click() {
    savePosition();
    if (platform().messageBox(kExitQuestion) != MsgAnswer::Ok || !shell_.mayEnd()) return;
    ending_ = true;
    platform().endProgram();
}

bool MainWindow::Form_QueryUnload(UnloadMode mode) {
    if (ending_) return true;
    savePosition();
    if (mode == UnloadMode::CloseBox || mode == UnloadMode::SystemEnding) {
        if (platform().messageBox(kExitQuestion) != MsgAnswer::Ok || !shell_.mayEnd()) return false;
        ending_ = true;
    }
    return true;
}

void MainWindow::Form_Unload() {
    if (ending_) platform().endProgram();
}

void MainWindow::mnuFileArray_Click(int index) {
    clearInitialSeats(state_);
    const auto seats = index >= 1 && index <= mnuFileArray.upperBound()
                           ? readResultFile(mnuFileArray[index].caption)
                           : std::nullopt;
    if (!seats) {
        platform().messageBox(kPastLogMissing);
        return;
    }
    for (std::size_t k = 0; k < seats->size(); ++k) state_.InitialSeats[k + 1] = (*seats)[k];
    if (const auto& open = shell_.windows().result) open();
}

void MainWindow::mnuResult_Click() {
    close(UnloadMode::Program);
    for (int n = 1; n <= kSeatCount; ++n)
        state_.InitialSeats[static_cast<std::size_t>(n)] =
            state_.SeatResult[static_cast<std::size_t>(n)];
    if (const auto& open = shell_.windows().result) open();
}

void MainWindow::mnuOptEnvCnter_Click() {
    if (mnuOptEnvCnter.checked) {
        mnuOptEnvCnter.checked = false;
        if (top == 0 && left == 0) centreWindow(*this, platform().screen());
        state_.I_Top = static_cast<float>(top);
        state_.I_Left = static_cast<float>(left);
        state_.OptCent = "0";
    } else {
        mnuOptEnvCnter.checked = true;
        centreWindow(*this, platform().screen());
        state_.OptCent = "1";
    }
    platform().settings().save(section::Position, key::OptCent, state_.OptCent);
}

void MainWindow::mnuHelpContext_KeyWord_Click(int index) {
    platform().showHelp({index == 0 ? HelpCommand::PartialKey : HelpCommand::Contents, 0});
}

}  // namespace tosbel
