#include "conditions/seat_wishes_window.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/app_state.h"
#include "core/help_pages.h"
#include "core/window_parts.h"
#include "core/window_place.h"
#include "platform/file_io.h"
#include "platform/platform.h"
#include "results/result_file.h"
#include "roster/roster_file.h"

namespace tosbel {

namespace {

constexpr int kClientWidth = 11400;
constexpr int kClientHeight = 7020;
constexpr int kPupilPage = 15;
constexpr int kPairPage = 7;
constexpr int kNameBytes = 12;
constexpr int kMostDesks = 10;

constexpr int kPitch = 300, kOptionHeight = 270;
constexpr int kColumnB = 3540, kColumnC = 7260;
constexpr int kButtonHeight = 345;

constexpr RowWish kRows[] = {RowWish::None, RowWish::Front, RowWish::FrontTwo, RowWish::BackTwo,
                             RowWish::Back};
constexpr const char* kSexCaptions[] = {"指定なし", "男", "女"};
constexpr Sex kSexes[] = {Sex::Unmarked, Sex::Boy, Sex::Girl};

struct Kind {
    const char* caption;
    PairKind kind;
    int distance;
};
constexpr Kind kKinds[] = {{"2席以上離す", PairKind::Apart, 2},
                           {"3席以上離す", PairKind::Apart, 3},
                           {"1席以内（隣・前後・斜め）", PairKind::Near, 1},
                           {"2席以内", PairKind::Near, 2}};

constexpr SexPattern kPatterns[] = {SexPattern::None, SexPattern::Columns, SexPattern::Checkerboard,
                                    SexPattern::LastResult};

constexpr const char* kPastLogFilter = "結果ﾌｧｲﾙ(*.RLT)|*.RLT|すべてのﾌｧｲﾙ(*.*)|*.*";
constexpr const char* kLastResult = "先程の結果";

const Message kNoRoster{
    "席の希望は名簿ﾌｧｲﾙの横に保存します。\r\r"
    "先に名簿を保存してから、もう一度開いて下さい。",
    "席の希望確認", MsgButtons::Ok, MsgIcon::Information};
const Message kUnsaved{"席の希望を設定しないで終了しますか？", "終了確認", MsgButtons::OkCancel,
                       MsgIcon::Question};
const Message kBadShape{
    "班の形は、縦と横の席の数を 1 から 10 までの数字で入力して下さい。"
    "席の希望はまだ保存していません。",
    "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation};
const Message kUnwritableName{
    "席の希望に、ﾌｧｲﾙに保存できない文字を含む名前があります。"
    "その希望を削除してから、もう一度了解を押して下さい。",
    "保存確認", MsgButtons::Ok, MsgIcon::Critical};
const Message kNoLastSeats{
    "比べる前回の席が選ばれていないので、前回と比べる希望は使われません。\r\r"
    "「先程の結果」か「過去ﾛｸﾞ...」で前回の席を選んで下さい。",
    "席の希望確認", MsgButtons::Ok, MsgIcon::Information};
const Message kNoNames{"二人の名前を入力して下さい。", "席の希望確認", MsgButtons::Ok,
                       MsgIcon::Exclamation};
const Message kSamePupil{"同じ人どうしを組にすることはできません。別の二人を入力して下さい。",
                         "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation};

Message cannotSave(const std::string& path) {
    return {"席の希望をﾌｧｲﾙ「" + path +
                "」に保存できませんでした。\r\r"
                "フォルダがあるか、書き込みできるか、ディスクに空きがあるかを確認して下さい。"
                "席の希望は変更していません。",
            "保存確認", MsgButtons::Ok, MsgIcon::Critical};
}

Message unknownName(const std::string& name) {
    return {"「" + name + "」は名簿にない名前です。名簿のとおりに入力して下さい。", "席の希望確認",
            MsgButtons::Ok, MsgIcon::Exclamation};
}

Message alreadyPaired(const std::string& first, const std::string& second) {
    return {"「" + first + "」と「" + second +
                "」の希望はすでにあります。"
                "変えるときは、一覧で選んで削除してから追加して下さい。",
            "席の希望確認", MsgButtons::Ok, MsgIcon::Exclamation};
}

Message pastLogUnreadable(const std::string& path) {
    return {"過去ﾛｸﾞ「" + path +
                "」を読み込めませんでした。\r\r"
                "結果ﾌｧｲﾙ(*.RLT)かを確認して下さい。比べる前回の席は変更していません。",
            "過去ﾛｸﾞの確認", MsgButtons::Ok, MsgIcon::Critical};
}

Message goneNotice(std::size_t count) {
    return {"名簿にいない人の希望が " + std::to_string(count) +
                " 件あります（取り消し線で表示しています）。\r\r"
                "これらの希望はほかの人には使われず、そのまま残してあります。"
                "不要なときは「名簿にない人の希望を削除」で削除できます。",
            "席の希望確認", MsgButtons::Ok, MsgIcon::Information};
}

// What a pupil's option says besides the name: "前列・男・班長".
std::string marksOf(const PupilWish& w) {
    std::string marks;
    const auto add = [&marks](const std::string& mark) {
        if (!marks.empty()) marks += "・";
        marks += mark;
    };
    if (w.row != RowWish::None) add(rowWishText(w.row));
    if (w.sex != Sex::Unmarked) add(kSexCaptions[static_cast<int>(w.sex)]);
    if (w.leader) add("班長");
    return marks;
}

// "1" … "10" and nothing else.
std::optional<int> desks(const std::string& text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int n = std::stoi(text);
    if (n < 1 || n > kMostDesks) return std::nullopt;
    return n;
}

bool samePair(const PairWish& p, const std::string& a, const std::string& b) {
    return (p.first == a && p.second == b) || (p.first == b && p.second == a);
}

int lastPage(std::size_t count, int perPage) {
    return count == 0 ? 0 : static_cast<int>((count - 1) / static_cast<std::size_t>(perPage));
}

}  // namespace

SeatWishesWindow::SeatWishesWindow(AppState& state, Platform& platform)
    : Form(platform), state_(state), work_(state.Wishes) {
    name = "KIBOU";
    caption = "席の希望";
    centreDialog(*this, kClientWidth, kClientHeight);
    declareControls();
}

void SeatWishesWindow::declareControls() {
    TOSBEL_DECLARE(Frame1);
    TOSBEL_DECLARE(Option1);
    TOSBEL_DECLARE(HScroll1);
    TOSBEL_DECLARE(Label1);
    TOSBEL_DECLARE(Option2);
    TOSBEL_DECLARE(Option3);
    TOSBEL_DECLARE(Check1);
    TOSBEL_DECLARE(Text1);
    TOSBEL_DECLARE(Option4);
    TOSBEL_DECLARE(Option5);
    TOSBEL_DECLARE(HScroll2);
    TOSBEL_DECLARE(Option6);
    TOSBEL_DECLARE(Command2);
    TOSBEL_DECLARE(Command1);

    const char* const frames[] = {"本日の出席者",     "座る列",           "男女",
                                  "二人の希望を追加", "二人の希望の一覧", "クラス全体",
                                  "男女の並び",       "比べる前回の席"};
    for (std::size_t f = 0; f < Frame1.size(); ++f) Frame1[f].caption = frames[f];

    // Today's pupils down the left, as on the conditions window.
    Frame1[0].place(120, 120, 3300, 5220);
    for (int j = 0; j < kPupilPage; ++j) {
        OptionButton& o = Option1[static_cast<std::size_t>(j)];
        o.container = &Frame1[0];
        o.place(120, kPitch * (j + 1), 3060, kOptionHeight);
        o.onClick = [this, j] { select(j); };
    }
    HScroll1.container = &Frame1[0];
    HScroll1.place(120, kPitch * (kPupilPage + 1), 3060, 240);
    HScroll1.accessibleName = "本日の出席者の一覧";
    HScroll1.onChange = [this] { showPupils(); };

    // The selected pupil's own wishes.
    Label1[0].place(kColumnB, 150, 3600, 300);
    Label1[0].font.bold = true;
    Frame1[1].place(kColumnB, 480, 1680, 1860);
    for (int k = 0; k < 5; ++k) {
        OptionButton& o = Option2[static_cast<std::size_t>(k)];
        o.container = &Frame1[1];
        o.caption = rowWishText(kRows[k]);
        o.place(150, kPitch * (k + 1), 1380, kOptionHeight);
        o.onClick = [this, k] { rowChosen(k); };
    }
    Frame1[2].place(kColumnB + 1800, 480, 1800, 1260);
    for (int k = 0; k < 3; ++k) {
        OptionButton& o = Option3[static_cast<std::size_t>(k)];
        o.container = &Frame1[2];
        o.caption = kSexCaptions[k];
        o.place(150, kPitch * (k + 1), 1500, kOptionHeight);
        o.onClick = [this, k] { sexChosen(k); };
    }
    Check1[0].caption = "班長";
    Check1[0].toolTip = " 班長どうしは別の班になります ";
    Check1[0].place(kColumnB + 1860, 1920, 1680, 300);
    Check1[0].onClick = [this] {
        if (selected_.empty()) return;
        work_.pupilEntry(selected_).leader = Check1[0].value == 1;
        work_.prune();
        showPupils();
    };

    // A new pair.
    Frame1[3].place(kColumnB, 2460, 3600, 2880);
    for (int k = 0; k < 2; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int y = 285 + 390 * k;
        Label& l = Label1[i + 1];
        l.container = &Frame1[3];
        l.caption = k == 0 ? "1人目" : "2人目";
        l.place(150, y + 45, 630, 270);
        TextBox& box = Text1[i];
        box.container = &Frame1[3];
        box.place(780, y, 1500, 330).limitBytes(kNameBytes);
        box.inputMethod = true;
        box.accessibleName = std::string(k == 0 ? "1人目" : "2人目") + "の名前";
        CommandButton& take = Command2[i];
        take.container = &Frame1[3];
        take.caption = "選んだ人";
        take.toolTip = std::string(" 選んだ出席者を") + (k == 0 ? "1人目" : "2人目") + "にします ";
        take.place(2370, y, 1080, 330);
    }
    for (int k = 0; k < 4; ++k) {
        OptionButton& o = Option4[static_cast<std::size_t>(k)];
        o.container = &Frame1[3];
        o.caption = kKinds[k].caption;
        o.place(150, 1110 + kPitch * k, 3300, kOptionHeight);
    }
    Command2[2].container = &Frame1[3];
    Command2[2].caption = "追加";
    Command2[2].place(2370, 2400, 1080, kButtonHeight);

    // The pairs.
    Frame1[4].place(kColumnC, 120, 4020, 2820);
    for (int k = 0; k < kPairPage; ++k) {
        OptionButton& o = Option5[static_cast<std::size_t>(k)];
        o.container = &Frame1[4];
        o.place(120, kPitch * (k + 1), 3780, kOptionHeight);
        o.onClick = [this, k] {
            pair_ = HScroll2.value * kPairPage + k;
            Command2[3].enabled = true;
        };
    }
    HScroll2.container = &Frame1[4];
    HScroll2.place(120, 2460, 2580, 240);
    HScroll2.accessibleName = "二人の希望の一覧";
    HScroll2.onChange = [this] { showPairs(); };
    Command2[3].container = &Frame1[4];
    Command2[3].caption = "削除";
    Command2[3].place(2820, 2400, 1080, kButtonHeight);

    // The whole class.
    Frame1[5].place(kColumnC, 3060, 4020, 1320);
    Check1[1].caption = "全員が前回と違う席";
    Check1[2].caption = "前回と違う隣どうし";
    for (std::size_t k = 1; k <= 2; ++k) {
        Check1[k].container = &Frame1[5];
        Check1[k].place(150, static_cast<int>(k) * kPitch - 30, 3720, kOptionHeight);
    }
    Check1[1].onClick = [this] { work_.everyoneMoves = Check1[1].value == 1; };
    Check1[2].onClick = [this] { work_.newNeighbours = Check1[2].value == 1; };
    const std::pair<std::size_t, int> shapeLabels[] = {{3, 150}, {4, 1440}, {5, 2490}};
    const char* const shapeCaptions[] = {"班の形", "行 ×", "列"};
    for (std::size_t k = 0; k < 3; ++k) {
        Label& l = Label1[shapeLabels[k].first];
        l.container = &Frame1[5];
        l.caption = shapeCaptions[k];
        l.place(shapeLabels[k].second, 930, k == 1 ? 540 : 780, 270);
    }
    for (std::size_t k = 2; k <= 3; ++k) {
        TextBox& box = Text1[k];
        box.container = &Frame1[5];
        box.place(k == 2 ? 960 : 2010, 900, 420, 315).limitBytes(2);
        box.alignment = Align::Right;
    }
    Text1[2].accessibleName = "班の縦の席の数";
    Text1[3].accessibleName = "班の横の席の数";

    Frame1[6].place(kColumnC, 4500, 4020, 840);
    for (int k = 0; k < 4; ++k) {
        OptionButton& o = Option6[static_cast<std::size_t>(k)];
        o.container = &Frame1[6];
        o.caption = patternText(kPatterns[k]);
        o.place(k % 2 == 0 ? 150 : 2010, 270 + 270 * (k / 2), 1830, 255);
        o.onClick = [this, k] { work_.pattern = kPatterns[k]; };
    }

    // The seats the class had last time.
    Frame1[7].place(120, 5460, 11160, 900);
    Label1[6].container = &Frame1[7];
    Label1[6].place(150, 480, 6600, 270);
    Command2[4].container = &Frame1[7];
    Command2[4].caption = kLastResult;
    Command2[4].toolTip = " この実行で最後に表示した結果と比べます ";
    Command2[4].place(6960, 390, 1500, 360);
    Command2[5].container = &Frame1[7];
    Command2[5].caption = "過去ﾛｸﾞ...";
    Command2[5].toolTip = " 保存した結果と比べます ";
    Command2[5].place(8580, 390, 1500, 360);

    Command2[6].caption = "名簿にない人の希望を削除";
    Command2[6].place(120, 6480, 3300, 405);
    Command2[6].visible = false;
    for (int k = 0; k < 7; ++k)
        Command2[static_cast<std::size_t>(k)].onClick = [this, k] { Command2_Click(k); };

    layDialogButtons(Command1, {kColumnC, 1380, 6480, 1200, 405},
                     [this](int k) { Command1_Click(k); });

    int tab = 0;
    for (Control* c : controls()) c->tabIndex = tab++;
}

// Opening ---------------------------------------------------------------------

void SeatWishesWindow::Form_Load() {
    const RosterRead roster = readRoster(state_.WishRosterPath);
    if (roster.error == FileError::None)
        registered_.emplace(roster.names.begin(), roster.names.end());

    Option4[0].value = 1;
    Check1[1].value = work_.everyoneMoves ? 1 : 0;
    Check1[2].value = work_.newNeighbours ? 1 : 0;
    for (std::size_t k = 0; k < Option6.size(); ++k)
        Option6[k].value = kPatterns[k] == work_.pattern ? 1 : 0;
    Text1[2].setText(std::to_string(work_.groupRows));
    Text1[3].setText(std::to_string(work_.groupColumns));
    Command2[4].enabled = state_.ResultShown == 1;

    listPupils();
    showPupil();
    showPairs();
    showLastSeats();

    const auto goneWishes = std::count_if(work_.pupils.begin(), work_.pupils.end(),
                                          [this](const PupilWish& w) { return gone(w.name); }) +
                            std::count_if(work_.pairs.begin(), work_.pairs.end(),
                                          [this](const PairWish& p) { return pairGone(p); });
    if (goneWishes > 0) platform().messageBox(goneNotice(static_cast<std::size_t>(goneWishes)));
}

bool SeatWishesWindow::known(const std::string& pupil) const {
    const int present = std::clamp<int>(state_.MemberCount, 0, kMaxMembers);
    for (int i = 1; i <= present; ++i)
        if (state_.Members[static_cast<std::size_t>(i)] == pupil) return true;
    return registered_ ? registered_->count(pupil) > 0 : false;
}

bool SeatWishesWindow::gone(const std::string& pupil) const {
    return registered_ && !known(pupil);
}

bool SeatWishesWindow::pairGone(const PairWish& pair) const {
    return gone(pair.first) || gone(pair.second);
}

// The list: today's pupils, then those no longer on the roster whose wishes
// are kept. Registered pupils absent today are left out, their wishes as
// they are.
void SeatWishesWindow::listPupils() {
    entries_.clear();
    const int present = std::clamp<int>(state_.MemberCount, 0, kMaxMembers);
    for (int i = 1; i <= present; ++i)
        entries_.push_back({state_.Members[static_cast<std::size_t>(i)], false});
    bool anyGone = false;
    for (const PupilWish& w : work_.pupils)
        if (gone(w.name)) entries_.push_back({w.name, true});
    for (const PairWish& p : work_.pairs) anyGone = anyGone || pairGone(p);
    anyGone = anyGone || entries_.size() > static_cast<std::size_t>(present);
    Command2[6].visible = anyGone;

    HScroll1.min = 0;
    HScroll1.max = lastPage(entries_.size(), kPupilPage);
    HScroll1.enabled = HScroll1.max > 0;
    if (HScroll1.value > HScroll1.max) HScroll1.value = HScroll1.max;
    showPupils();
}

void SeatWishesWindow::showPupils() {
    const std::size_t first = static_cast<std::size_t>(HScroll1.value) * kPupilPage;
    for (std::size_t j = 0; j < Option1.size(); ++j) {
        OptionButton& o = Option1[j];
        const bool there = first + j < entries_.size();
        o.visible = there;
        o.value = 0;
        o.caption.clear();
        o.font.strikeout = false;
        if (!there) continue;
        const Entry& e = entries_[first + j];
        o.caption = e.name;
        if (const PupilWish* w = work_.pupil(e.name)) {
            const std::string marks = marksOf(*w);
            if (!marks.empty()) o.caption += " " + marks;
        }
        o.font.strikeout = e.gone;
        o.value = !selected_.empty() && e.name == selected_ ? 1 : 0;
    }
}

void SeatWishesWindow::select(int option) {
    const std::size_t at =
        static_cast<std::size_t>(HScroll1.value) * kPupilPage + static_cast<std::size_t>(option);
    if (at >= entries_.size()) return;
    selected_ = entries_[at].name;
    showPupil();
}

// The selected pupil's marks; those of a pupil no longer on the roster are
// shown but not changed.
void SeatWishesWindow::showPupil() {
    const bool gonePupil = !selected_.empty() && gone(selected_);
    const bool editable = !selected_.empty() && !gonePupil;
    if (selected_.empty())
        Label1[0].caption = "出席者を選んで下さい";
    else
        Label1[0].caption = selected_ + (gonePupil ? " （名簿にいません）" : " の希望");
    Label1[0].font.strikeout = gonePupil;
    const PupilWish* w = selected_.empty() ? nullptr : work_.pupil(selected_);
    const PupilWish none;
    const PupilWish& marks = w ? *w : none;
    for (std::size_t k = 0; k < Option2.size(); ++k) {
        Option2[k].enabled = editable;
        Option2[k].value = !selected_.empty() && kRows[k] == marks.row ? 1 : 0;
    }
    for (std::size_t k = 0; k < Option3.size(); ++k) {
        Option3[k].enabled = editable;
        Option3[k].value = !selected_.empty() && kSexes[k] == marks.sex ? 1 : 0;
    }
    Check1[0].enabled = editable;
    Check1[0].value = marks.leader ? 1 : 0;
    Command2[0].enabled = Command2[1].enabled = editable;
}

void SeatWishesWindow::rowChosen(int k) {
    if (selected_.empty()) return;
    work_.pupilEntry(selected_).row = kRows[k];
    work_.prune();
    showPupils();
}

void SeatWishesWindow::sexChosen(int k) {
    if (selected_.empty()) return;
    work_.pupilEntry(selected_).sex = kSexes[k];
    work_.prune();
    showPupils();
}

// Pairs -----------------------------------------------------------------------

void SeatWishesWindow::showPairs() {
    HScroll2.min = 0;
    HScroll2.max = lastPage(work_.pairs.size(), kPairPage);
    HScroll2.enabled = HScroll2.max > 0;
    if (HScroll2.value > HScroll2.max) HScroll2.value = HScroll2.max;
    const std::size_t first = static_cast<std::size_t>(HScroll2.value) * kPairPage;
    for (std::size_t k = 0; k < Option5.size(); ++k) {
        OptionButton& o = Option5[k];
        const bool there = first + k < work_.pairs.size();
        o.visible = there;
        o.caption = there ? describePair(work_.pairs[first + k]) : std::string();
        o.font.strikeout = there && pairGone(work_.pairs[first + k]);
        o.value = there && static_cast<int>(first + k) == pair_ ? 1 : 0;
    }
    Command2[3].enabled = pair_ >= 0 && static_cast<std::size_t>(pair_) < work_.pairs.size();
}

void SeatWishesWindow::addPair() {
    const std::string first = Text1[0].text, second = Text1[1].text;
    if (first.empty() || second.empty()) {
        platform().messageBox(kNoNames);
        return;
    }
    for (const std::string& n : {first, second}) {
        if (!known(n)) {
            platform().messageBox(unknownName(n));
            return;
        }
    }
    if (first == second) {
        platform().messageBox(kSamePupil);
        return;
    }
    if (std::any_of(work_.pairs.begin(), work_.pairs.end(),
                    [&](const PairWish& p) { return samePair(p, first, second); })) {
        platform().messageBox(alreadyPaired(first, second));
        return;
    }
    std::size_t kind = 0;
    for (std::size_t k = 0; k < Option4.size(); ++k)
        if (Option4[k].value == 1) kind = k;
    work_.pairs.push_back({first, second, kKinds[kind].kind, kKinds[kind].distance});
    Text1[0].setText("");
    Text1[1].setText("");
    // The new pair is shown, selected, on its page.
    pair_ = static_cast<int>(work_.pairs.size()) - 1;
    HScroll2.max = lastPage(work_.pairs.size(), kPairPage);
    HScroll2.value = pair_ / kPairPage;
    showPairs();
}

void SeatWishesWindow::deletePair() {
    if (pair_ < 0 || static_cast<std::size_t>(pair_) >= work_.pairs.size()) return;
    work_.pairs.erase(work_.pairs.begin() + pair_);
    pair_ = -1;
    showPairs();
    listPupils();
}

// The last seats --------------------------------------------------------------

void SeatWishesWindow::showLastSeats() {
    Label1[6].caption =
        work_.hasLastChart() ? "前回の席： " + work_.lastSource : "前回の席： 選ばれていません";
}

void SeatWishesWindow::takeLastResult() {
    // The chart the result window showed last; a shuffle fills both.
    bool shown = false;
    for (int n = 1; n <= kSeatCount; ++n)
        shown = shown || !state_.InitialSeats[static_cast<std::size_t>(n)].empty();
    const Slots& from = shown ? state_.InitialSeats : state_.SeatResult;
    for (std::size_t k = 0; k < work_.lastChart.size(); ++k) work_.lastChart[k] = from[k + 1];
    work_.lastSource = kLastResult;
    showLastSeats();
}

void SeatWishesWindow::takePastLog() {
    const std::string path = platform().openFileDialog(
        {"過去ﾛｸﾞの選択", kPastLogFilter, platform().programFolder(), ""});
    if (path.empty()) return;
    const auto seats = readResultFile(path);
    if (!seats) {
        platform().messageBox(pastLogUnreadable(path));
        return;
    }
    work_.lastChart.fill({});
    for (std::size_t k = 0; k < seats->size() && k < work_.lastChart.size(); ++k)
        work_.lastChart[k] = (*seats)[k];
    work_.lastSource = utf8Of(pathOf(path).filename());
    showLastSeats();
}

// Wishes naming somebody no longer on the roster are never applied to
// anybody; the teacher may clear them out here.
void SeatWishesWindow::deleteGoneWishes() {
    std::erase_if(work_.pupils, [this](const PupilWish& w) { return gone(w.name); });
    std::erase_if(work_.pairs, [this](const PairWish& p) { return pairGone(p); });
    if (!selected_.empty() && gone(selected_)) selected_.clear();
    pair_ = -1;
    listPupils();
    showPupil();
    showPairs();
}

// Closing ---------------------------------------------------------------------

std::optional<SeatWishes> SeatWishesWindow::edited() const {
    const auto rows = desks(Text1[2].text), columns = desks(Text1[3].text);
    if (!rows || !columns) return std::nullopt;
    SeatWishes w = work_;
    w.groupRows = *rows;
    w.groupColumns = *columns;
    return w;
}

bool SeatWishesWindow::changed() const {
    const auto w = edited();
    return !w || *w != state_.Wishes;
}

bool SeatWishesWindow::mayDiscard() {
    if (!changed() || platform().messageBox(kUnsaved) == MsgAnswer::Ok) return true;
    Command1[0].setFocus();
    return false;
}

void SeatWishesWindow::save() {
    const auto w = edited();
    if (!w) {
        platform().messageBox(kBadShape);
        return;
    }
    if (!encodeWishFile(*w)) {
        platform().messageBox(kUnwritableName);
        return;
    }
    const std::string path = wishFileOf(state_.WishRosterPath);
    if (!writeWishFile(path, *w)) {
        platform().messageBox(cannotSave(path));
        return;
    }
    state_.Wishes = *w;
    if (!w->hasLastChart() &&
        (w->everyoneMoves || w->newNeighbours || w->pattern == SexPattern::LastResult))
        platform().messageBox(kNoLastSeats);
    close();
}

bool SeatWishesWindow::Form_QueryUnload(UnloadMode mode) {
    return mode != UnloadMode::CloseBox || mayDiscard();
}

void SeatWishesWindow::Command1_Click(int index) {
    switch (index) {
        case 0:
            save();
            return;
        case 1:
            if (mayDiscard()) close();
            return;
        default:
            platform().showHelp({HelpCommand::Context, help_page::SeatWishes});
    }
}

void SeatWishesWindow::Command2_Click(int index) {
    switch (index) {
        case 0:
        case 1:
            Text1[static_cast<std::size_t>(index)].setText(selected_);
            return;
        case 2:
            addPair();
            return;
        case 3:
            deletePair();
            return;
        case 4:
            takeLastResult();
            return;
        case 5:
            takePastLog();
            return;
        default:
            deleteGoneWishes();
    }
}

void showSeatWishes(AppState& state, Platform& platform) {
    if (state.WishRosterPath.empty()) {
        platform.messageBox(kNoRoster);
        return;
    }
    SeatWishesWindow window(state, platform);
    window.showModal();
}

}  // namespace tosbel
