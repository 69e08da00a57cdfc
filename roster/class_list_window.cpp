#include "roster/class_list_window.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/help_pages.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/box_text.h"
#include "platform/file_io.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kClientWidth = 12720;
constexpr int kClientHeight = 5880;
constexpr int kCellLeft = 1140, kCellWidth = 1140, kCellHeight = 285, kRowPitch = 300;
constexpr int kGridTop = 2280;
constexpr int kFrameLeft = 120, kFrameHeight = 600, kOptionTop = 240, kOptionHeight = 300;
constexpr int kCellBytes = 12;  // what a cell shows before "…"

constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
constexpr Rgb kHeading{0xE0, 0xE0, 0xE0};
constexpr Rgb kNameColumn{0xFF, 0xFF, 0xC0};
constexpr Rgb kSexColumn{0xC0, 0xE0, 0xFF};

constexpr const char* kListFilter =
    "名簿の一覧(*.CSV;*.TXT;*.TSV)|*.CSV;*.TXT;*.TSV|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr const char* kTableFilter = "CSVﾌｧｲﾙ(*.CSV)|*.CSV|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr const char* kTitle = "取り込み確認";

Message unreadable(const std::string& path) {
    return {"ﾌｧｲﾙ「" + path +
                "」を名簿の一覧として読めませんでした。\r\r"
                "CSV、タブ区切り、1行に1人のテキストのﾌｧｲﾙ（UTF-8、UTF-16、シフトJIS）を"
                "選んで下さい。",
            kTitle, MsgButtons::Ok, MsgIcon::Critical};
}

Message noNames(const std::string& path) {
    return {"ﾌｧｲﾙ「" + path + "」に氏名が見つかりませんでした。", kTitle, MsgButtons::Ok,
            MsgIcon::Exclamation};
}

Message notATable(const std::string& path) {
    return {"「" + path +
                "」には書き出せません。名簿や結果のﾌｧｲﾙを上書きしないよう、"
                "書き出すﾌｧｲﾙの名前は「.CSV」で終わるものにして下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

Message replaceTable(const std::string& path) {
    return {"「" + path + "」は既にあります。上書きしますか？", "保存確認", MsgButtons::OkCancel,
            MsgIcon::Question};
}

Message cannotWrite(const std::string& path) {
    return {"名簿をﾌｧｲﾙ「" + path +
                "」に書き出せませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。",
            "保存確認", MsgButtons::Ok, MsgIcon::Critical};
}

std::string shownCell(const std::string& cell) {
    const std::string fitted = fitToByteLimit(cell, kCellBytes);
    return fitted.size() < cell.size() ? fitted + "…" : fitted;
}

}  // namespace

ClassListWindow::ClassListWindow(Platform& platform, ListTable rows)
    : Form(platform), rows_(std::move(rows)), columns_(guessColumns(rows_)) {
    name = "TORIKOMI";
    caption = "名簿の取り込み";
    centreDialog(*this, kClientWidth, kClientHeight);
    for (const ListRow& row : rows_) width_ = std::max(width_, static_cast<int>(row.size()));
    width_ = std::min(width_, kShownColumns);

    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Check1);
    TOSBEL_DECLARE(Check2);
    TOSBEL_DECLARE(Frame1);
    TOSBEL_DECLARE(Option1);
    TOSBEL_DECLARE(Frame2);
    TOSBEL_DECLARE(Option2);
    TOSBEL_DECLARE(Label3);
    TOSBEL_DECLARE(Label2);
    TOSBEL_DECLARE(Command1);

    Label1[0].caption = "氏名の列と、あれば性別の列を選んで、了解ボタンを押して下さい。";
    Label1[0].place(120, 120, kClientWidth - 240, 300);
    Check1.caption = "1行目は見出し";
    Check1.place(kFrameLeft, 480, 2400, 300);
    Check1.onClick = [this] { showChoices(); };
    Check2.caption = "出席番号の順に並べる";
    Check2.place(kFrameLeft + 2640, 480, 3600, 300);
    Check2.onClick = [this] { showChoices(); };

    // Each column's option stands right above it, so the choice reads as
    // "this column".
    Frame1.caption = "氏名の列";
    Frame1.place(kFrameLeft, 900, kClientWidth - 2 * kFrameLeft, kFrameHeight);
    Frame2.caption = "性別の列";
    Frame2.place(kFrameLeft, 1560, kClientWidth - 2 * kFrameLeft, kFrameHeight);
    const int columnLeft = kCellLeft - kFrameLeft;
    Option2[0].caption = "なし";
    Option2[0].container = &Frame2;
    Option2[0].place(120, kOptionTop, columnLeft - 180, kOptionHeight);
    Option2[0].onClick = [this] {
        columns_.sex = -1;
        showChoices();
    };
    for (int c = 0; c < kShownColumns; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const std::string column = std::to_string(c + 1) + "列目";
        for (OptionButton* o : {&Option1[k], &Option2[k + 1]}) {
            o->caption = column;
            o->container = o == &Option1[k] ? &Frame1 : &Frame2;
            o->place(columnLeft + c * kCellWidth, kOptionTop, kCellWidth - 60, kOptionHeight);
            o->visible = c < width_;
        }
        Option1[k].accessibleName = "氏名の列 " + column;
        Option2[k + 1].accessibleName = "性別の列 " + column;
        Option1[k].onClick = [this, c] {
            columns_.name = c;
            showChoices();
        };
        Option2[k + 1].onClick = [this, c] {
            columns_.sex = c;
            showChoices();
        };
    }

    for (int r = 0; r < kShownRows; ++r) {
        const int y = kGridTop + r * kRowPitch;
        Label& number = Label3[static_cast<std::size_t>(r)];
        number.caption = std::to_string(r + 1);
        number.alignment = Align::Right;
        number.place(120, y, kCellLeft - 240, kCellHeight);
        number.visible = static_cast<std::size_t>(r) < rows_.size();
        for (int c = 0; c < kShownColumns; ++c) {
            Label& cell = Label2[static_cast<std::size_t>(r * kShownColumns + c)];
            cell.place(kCellLeft + c * kCellWidth, y, kCellWidth - 30, kCellHeight);
            cell.border = true;
            cell.visible = number.visible && c < width_;
            const ListRow* row = number.visible ? &rows_[static_cast<std::size_t>(r)] : nullptr;
            if (row && static_cast<std::size_t>(c) < row->size()) {
                cell.caption = shownCell((*row)[static_cast<std::size_t>(c)]);
                cell.toolTip = (*row)[static_cast<std::size_t>(c)];
            }
        }
    }
    Label1[1].place(kCellLeft, kGridTop + kShownRows * kRowPitch + 120,
                    kClientWidth - kCellLeft - 120, 300);

    layDialogButtons(Command1, {kClientWidth / 2 - 2160, 1500, kClientHeight - 600, 1200, 420},
                     [this](int k) { Command1_Click(k); });
}

void ClassListWindow::Form_Load() {
    if (columns_.header) Check1.setValue(1);
    if (columns_.number >= 0) Check2.setValue(1);
    if (columns_.name < kShownColumns) Option1[static_cast<std::size_t>(columns_.name)].setValue(1);
    Option2[static_cast<std::size_t>(columns_.sex < kShownColumns ? columns_.sex + 1 : 0)].setValue(
        1);
    showChoices();
}

std::vector<ListedName> ClassListWindow::names() const {
    ListColumns chosen = columns_;
    chosen.header = Check1.value == 1;
    return takeNames(rows_, chosen, chosen.header && Check2.value == 1);
}

// The cells of the chosen columns and the heading row stand out, and the
// count says what 了解 would take.
void ClassListWindow::showChoices() {
    const bool header = Check1.value == 1;
    Check2.enabled = header && columns_.number >= 0;
    for (int r = 0; r < kShownRows; ++r)
        for (int c = 0; c < kShownColumns; ++c) {
            Label& cell = Label2[static_cast<std::size_t>(r * kShownColumns + c)];
            cell.backColor = r == 0 && header     ? kHeading
                             : c == columns_.name ? kNameColumn
                             : c == columns_.sex  ? kSexColumn
                                                  : kWhite;
        }
    int count = 0, boys = 0, girls = 0;
    for (const ListedName& n : names()) {
        if (n.name.empty()) continue;
        ++count;
        boys += n.sex == Sex::Boy;
        girls += n.sex == Sex::Girl;
    }
    std::string summary = "氏名 " + std::to_string(count) + "人";
    if (columns_.sex >= 0)
        summary += "（男 " + std::to_string(boys) + "人・女 " + std::to_string(girls) + "人）";
    Label1[1].caption = summary + "を取り込みます。";
    Command1[0].enabled = count > 0;
}

void ClassListWindow::Command1_Click(int index) {
    switch (index) {
        case 0:
            taken_ = names();
            close();
            return;
        case 1:
            close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::ClassList});
    }
}

std::optional<std::vector<ListedName>> takeInClassList(Platform& platform) {
    const std::string path =
        platform.openFileDialog({"名簿の取り込み", kListFilter, platform.programFolder(), ""});
    if (path.empty()) return std::nullopt;
    std::optional<ListTable> rows = readListFile(path);
    if (!rows) {
        platform.messageBox(unreadable(path));
        return std::nullopt;
    }
    const bool anything = std::any_of(rows->begin(), rows->end(), [](const ListRow& row) {
        return std::any_of(row.begin(), row.end(), [](const std::string& c) { return !c.empty(); });
    });
    if (!anything) {
        platform.messageBox(noNames(path));
        return std::nullopt;
    }
    ClassListWindow window(platform, std::move(*rows));
    window.showModal();
    return window.taken();
}

std::string tableNameFor(const std::string& rosterPath) {
    if (rosterPath.empty()) return {};
    return utf8Of(pathOf(rosterPath).stem()) + ".CSV";
}

void giveBackClassList(Platform& platform, const std::vector<ListedName>& names,
                       const std::string& proposed) {
    std::string path = platform.saveFileDialog(
        {"名簿の書き出し", kTableFilter, platform.programFolder(), proposed});
    if (path.empty()) return;
    // Only a table's name: a slip in the dialog must never put a table over a
    // roster or a result.
    const std::string ext = upperExtension(path);
    if (ext.empty()) {
        path += ".CSV";
        std::error_code ec;
        if (std::filesystem::exists(pathOf(path), ec) &&
            platform.messageBox(replaceTable(path)) != MsgAnswer::Ok)
            return;
    } else if (ext != ".CSV") {
        platform.messageBox(notATable(path));
        return;
    }
    const bool withSex = std::any_of(names.begin(), names.end(),
                                     [](const ListedName& n) { return n.sex != Sex::Unmarked; });
    if (!replaceFile(path, rosterTable(names, withSex))) platform.messageBox(cannotWrite(path));
}

}  // namespace tosbel
