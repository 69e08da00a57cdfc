// The result window on paper and as a picture: the printed pages, the print
// preview, the PDF file and the PNG file.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/seat_grid.h"
#include "core/settings.h"
#include "platform/platform.h"
#include "results/chart_layout.h"
#include "results/result_save.h"
#include "results/result_window.h"

namespace tosbel {

namespace {

constexpr Rgb kBoxBack{192, 192, 192};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWindowBack{128, 128, 128};

const Message kPrintFailed{"印刷できませんでした。プリンタの状態を確認して下さい。", "印刷確認",
                           MsgButtons::Ok, MsgIcon::Critical};
// A printer that writes a PDF file failed at the file, not at the printer.
Message printFailed(const PrinterChoice& printer) {
    if (printer.file.empty()) return kPrintFailed;
    return {"印刷したﾌｧｲﾙ「" + printer.file +
                "」を保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。"
                "同じ名前のﾌｧｲﾙがあれば、元のままです。",
            "印刷確認", MsgButtons::Ok, MsgIcon::Critical};
}

const Message kNoSeatsForPicture{
    "画像にする座席がありません。\r\r非印刷行・列の設定で、すべての行か列が省かれています。",
    "保存確認", MsgButtons::Ok, MsgIcon::Exclamation};
const Message kNoPicture{"Tosbel結果を画像にできませんでした。", "保存確認", MsgButtons::Ok,
                         MsgIcon::Critical};

// "1組" of "C:\名簿\1組.MEM" or "/home/t/1組.MEM": the roster's file name
// without its folder and extension, as either system writes the path.
std::string rosterName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// The roster's name and the date the status bar shows, whichever there are.
std::string headingOf(const AppState& state) {
    const std::string name = rosterName(state.RosterPath);
    if (name.empty() || state.TodayText.empty()) return name + state.TodayText;
    return name + "　" + state.TodayText;
}

bool seatPrinted(const AppState& state, int index) {
    const auto row = static_cast<std::size_t>(index / kColumns);
    const auto column = static_cast<std::size_t>(index % kColumns);
    return !tickedValue(state.NoLine[row]) && !tickedValue(state.NoRow[column]);
}

// The seat a control of the chart stands for, or none for another control.
std::optional<int> seatOf(const ResultWindow& window, const Control& c) {
    const bool seatControl = c.name == "Label1" || c.name == "Text1";
    if (c.form != &window || !seatControl || c.index < 0 || c.index >= kSeatCount)
        return std::nullopt;
    return c.index;
}

struct Band {
    TwipRect board, desk;
};

// The band over just the columns the page shows, the desk in its middle; none
// when the page shows no seat.
std::optional<Band> bandOver(const AppState& state, ChartView view) {
    int left = INT_MAX, right = INT_MIN;
    for (int k = 0; k < kSeatCount; ++k) {
        if (!seatPrinted(state, k)) continue;
        const TwipRect box = seatBoxPlace(k, view);
        left = std::min(left, box.left);
        right = std::max(right, box.left + box.width);
    }
    if (left > right) return std::nullopt;
    Band band{boardPlace(view), deskPlace(view)};
    band.board.left = left;
    band.board.width = right - left;
    band.desk.width = std::min(band.desk.width, band.board.width);
    band.desk.left = left + (band.board.width - band.desk.width) / 2;
    return band;
}

enum class Look { Paper, Screen };

// The chart seen in `view`, whatever the window shows. A page of the screen's
// size is the page as it always was: no band, the seats where they stood
// before the band moved them down, the window's old height. A page that fills
// the paper has the band on row A's side and the heading. On paper the
// labels are black and the boxes grey or white by the colour option; the
// band keeps its own colours.
PrintedPage chartPage(const ResultWindow& window, const AppState& state, ChartView view,
                      bool sameSize, Look colours) {
    PrintedPage page;
    page.form = &window;
    page.background = colours == Look::Paper ? kWhite : window.backColor.value_or(kWindowBack);
    page.statusBar = colours == Look::Paper && state.OptPsbar != "0";
    page.fit = sameSize ? PageFit::TrueSize : PageFit::FillPaper;
    if (sameSize)
        page.clientHeight = window.clientHeight() - kBoardBand;
    else if (colours == Look::Paper)
        page.heading = headingOf(state);

    const std::optional<Band> band = sameSize ? std::nullopt : bandOver(state, view);
    const bool boxesGrey = state.OptCol != "0";
    page.look = [&window, &state, band, colours, boxesGrey](const Control& c) {
        PaperLook look;
        if (&c == &window.lblBoard || &c == &window.lblDesk) {
            look.printed = band.has_value();
            return look;
        }
        const std::optional<int> seat = seatOf(window, c);
        if (!seat) return look;
        look.printed = seatPrinted(state, *seat);
        if (colours == Look::Screen) return look;
        look.foreColor = kBlack;
        if (c.name == "Text1") look.backColor = boxesGrey ? kBoxBack : kWhite;
        return look;
    };
    const int lift = sameSize ? chartDrop(view) : 0;
    page.place = [&window, band, view, lift](const Control& c) -> std::optional<TwipRect> {
        if (band && &c == &window.lblBoard) return band->board;
        if (band && &c == &window.lblDesk) return band->desk;
        const std::optional<int> seat = seatOf(window, c);
        if (!seat) return std::nullopt;
        TwipRect at = c.name == "Text1" ? seatBoxPlace(*seat, view) : seatLabelPlace(*seat, view);
        at.top -= lift;
        return at;
    };
    return page;
}

// The pages of one copy: the chart as the window shows it, or both views,
// the pupils' first.
std::vector<PrintedPage> printedPages(const ResultWindow& window, const AppState& state,
                                      const PrintedPage& shown) {
    if (!tickedValue(state.PrtBoth)) return {shown};
    const bool sameSize = tickedValue(state.PrtScreen);
    return {chartPage(window, state, ChartView::Pupils, sameSize, Look::Paper),
            chartPage(window, state, ChartView::Teacher, sameSize, Look::Paper)};
}

}  // namespace

PrintedPage ResultWindow::printedChart() const {
    return chartPage(*this, state_, view_, tickedValue(state_.PrtScreen), Look::Paper);
}

void ResultWindow::mnuPrint_Click() {
    const auto choice = platform().printerDialog();
    if (!choice) return;
    if (!platform().printPages(printedPages(*this, state_, printedChart()),
                               std::max(choice->copies, 1)))
        platform().messageBox(printFailed(*choice));
}

void ResultWindow::mnuPrintPreview_Click() {
    if (const auto failed = platform().previewPages(printedPages(*this, state_, printedChart())))
        platform().messageBox(printFailed(*failed));
}

void ResultWindow::mnuSavePdf_Click() {
    const std::string path = platform().saveFileDialog(
        {"PDFとして保存", "PDFﾌｧｲﾙ(*.pdf)|*.pdf", platform().programFolder(), ""});
    if (path.empty()) return;
    if (!platform().savePdf(printedPages(*this, state_, printedChart()), path))
        platform().messageBox(printFailed(PrinterChoice{1, path}));
}

// The chart as the window shows it, in its own colours, with the seats the
// classroom has: those the paper leaves out are left out here too.
void ResultWindow::mnuSavePicture_Click() {
    const PrintedPage page = chartPage(*this, state_, view_, false, Look::Screen);
    if (!bandOver(state_, view_)) {
        platform().messageBox(kNoSeatsForPicture);
        return;
    }
    const std::optional<std::string> png = platform().pagePicture(page);
    if (!png) {
        platform().messageBox(kNoPicture);
        return;
    }
    saveChartCopy("画像として保存", "PNGﾌｧｲﾙ(*.png)|*.png", "画像ﾌｧｲﾙ", *png, platform());
}

}  // namespace tosbel
