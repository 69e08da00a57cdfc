#include "tools/version_window.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "core/window_place.h"
#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kClientWidth = 5955;
constexpr int kClientHeight = 3975;

constexpr Rgb kWindowBack{0x80, 0x80, 0x80};
constexpr Rgb kShadow{0x00, 0x00, 0x00};
constexpr Rgb kYellow{0xFF, 0xFF, 0x00};
constexpr Rgb kPaleYellow{0xFF, 0xFF, 0xC0};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
constexpr Rgb kLinkAtRest{0xC0, 0xFF, 0xC0};
constexpr Rgb kLinkLit{0x00, 0xFF, 0x00};

constexpr int kLinksLeft = 420;
constexpr std::size_t kMailFirst = 10, kMailLast = 11, kWebFirst = 12, kWebLast = 14;

// The part of a home-page address label 13 holds before the rest goes on in
// label 14: about what its width shows.
constexpr std::size_t kFirstPartChars = 32;

const Message kNoMailProgram{"メールソフトが見つかりません。", "ﾒｰﾙｿﾌﾄ確認", MsgButtons::Ok,
                             MsgIcon::Exclamation};
const Message kNoBrowser{"ブラウザが見つかりません。", "ﾌﾞﾗｳｻﾞ確認", MsgButtons::Ok,
                         MsgIcon::Exclamation};

bool isMail(int index) {
    const auto i = static_cast<std::size_t>(index);
    return i >= kMailFirst && i <= kMailLast;
}

bool isWeb(int index) {
    const auto i = static_cast<std::size_t>(index);
    return i >= kWebFirst && i <= kWebLast;
}

// A long address breaks after a "/" of its path, where a reader expects it to
// go on; one with no such place breaks where the first label ends.
std::pair<std::string, std::string> splitAddress(std::string_view address) {
    if (utf8Count(address) <= kFirstPartChars) return {std::string(address), {}};
    const std::size_t limit = utf8Offset(address, kFirstPartChars);
    const std::size_t scheme = address.find("://");
    const std::size_t pathStart = scheme == std::string_view::npos ? 0 : scheme + 3;
    std::size_t cut = address.rfind('/', limit - 1);
    cut = cut == std::string_view::npos || cut < pathStart ? limit : cut + 1;
    return {std::string(address.substr(0, cut)), std::string(address.substr(cut))};
}

}  // namespace

AuthorLinks builtInAuthorLinks() {
    return {TOSBEL_AUTHOR_MAIL, TOSBEL_HOME_PAGE};
}

VersionWindow::VersionWindow(Platform& platform, AuthorLinks links)
    : Form(platform), links_(std::move(links)) {
    name = "INFO_VER";
    caption = "ﾊﾞｰｼﾞｮﾝ情報";
    backColor = kWindowBack;
    centreDialog(*this, kClientWidth, kClientHeight);

    // Each lettered text is a black label with a coloured one above it,
    // shifted up and to the left: the shadow is declared first so it lies
    // beneath.
    const FontSpec mincho{"ＭＳ Ｐ明朝", 42, true, false, false};
    const FontSpec minchoSmall{"ＭＳ Ｐ明朝", 12, true, false, false};
    const FontSpec roman{"Times New Roman", 14.25f, false, false, false};
    const FontSpec notice{"ＭＳ Ｐゴシック", 9, false, false, false};
    struct Lettering {
        std::size_t shadow, front;
        const char* text;
        Rgb colour;
        int x, y, shift, w, h;
        const FontSpec& font;
    };
    const Lettering letterings[] = {
        {0, 1, "Tosbel", kYellow, 1620, 300, 120, 3345, 855, mincho},
        {2, 3, "君", kYellow, 5010, 870, 120, 285, 285, minchoSmall},
        {4, 5, "Ver.1.5.1", kPaleYellow, 420, 900, 90, 1095, 315, roman},
        {19, 18, "for Windows 98/Me/NT/2000/XP", kYellow, 420, 1320, 90, 3825, 345, roman},
        {6, 7, "Copyright (C) Tosbel君 for Windows", kPaleYellow, 420, 1920, 30, 3825, 195, notice},
        {8, 9, "All rights reserved.", kPaleYellow, 420, 2100, 30, 3825, 195, notice},
    };
    for (const Lettering& t : letterings) {
        for (std::size_t i : {t.shadow, t.front}) {
            Label& l = Label1[i];
            declare(l, "Label1", static_cast<int>(i));
            l.caption = t.text;
            l.font = t.font;
            l.foreColor = i == t.shadow ? kShadow : t.colour;
            const int offset = i == t.shadow ? t.shift : 0;
            l.place(t.x + offset, t.y + offset, t.w, t.h);
        }
    }

    const bool mailSet = !links_.mail.empty();
    const bool webSet = !links_.homePage.empty();
    const auto [webFirst, webRest] = splitAddress(links_.homePage);
    struct LinkLabel {
        std::size_t index;
        int top, width;
        std::string text;
    };
    const LinkLabel linkLabels[] = {
        {10, 2325, 1665, "E-Mail Address："},
        {11, 2550, 2055, mailSet ? links_.mail : kAddressNotSet},
        {12, 2970, 1425, "URL Address："},
        {13, 3195, 2895, webSet ? webFirst : kAddressNotSet},
        {14, 3420, 1065, webRest},
    };
    const std::string mailTip =
        mailSet ? "mailto:" + links_.mail : "メールアドレスは設定されていません";
    const std::string webTip =
        webSet ? links_.homePage : "ホームページのアドレスは設定されていません";
    for (const LinkLabel& link : linkLabels) {
        Label& l = Label1[link.index];
        declare(l, "Label1", static_cast<int>(link.index));
        l.caption = link.text;
        l.place(kLinksLeft, link.top, link.width, 255);
        l.foreColor = kLinkAtRest;
        l.backColor = kWindowBack;
        l.toolTip = isMail(static_cast<int>(link.index)) ? mailTip : webTip;
        const int index = static_cast<int>(link.index);
        l.onClick = [this, index] { Label1_Click(index); };
        l.onMouseMove = [this, index] { Label1_MouseMove(index); };
        // Only a link with an address is one to click.
        if (isMail(index) ? mailSet : webSet) l.pointer = Control::Pointer::Hand;
    }
    // Off a link, both go pale again.
    tracksMouse = true;

    // White rules: two under the headline, one between the links, two at
    // the foot.
    declare(Line1, "Line1");
    struct Rule {
        int x1, y, x2;
    };
    constexpr Rule kRules[] = {
        {420, 1815, 4395}, {420, 1860, 4395}, {420, 2887, 3480},
        {420, 3750, 5535}, {420, 3795, 5535},
    };
    for (std::size_t i = 0; i < Line1.size(); ++i) {
        Line& l = Line1[i];
        l.x1 = kRules[i].x1;
        l.x2 = kRules[i].x2;
        l.y1 = l.y2 = kRules[i].y;
        l.borderColor = kWhite;
    }

    TOSBEL_DECLARE(Command1);
    Command1.caption = "了解";
    Command1.place(4575, 1440, 915, 405);
    Command1.onClick = [this] { close(); };
    cancelButton = &Command1;  // the only button: Escape closes the window as it does
}

// The window's picture, top left beside the name: a blackboard and two rows
// of desks, one of them picked.
void VersionWindow::Form_Paint(Canvas& canvas) {
    constexpr Rgb kBoard{40, 90, 70};
    constexpr Rgb kDesk{200, 210, 230};
    constexpr Rgb kPicked{230, 120, 40};
    canvas.fillBox(420, 300, 1380, 390, kBoard);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const float x = 420.0f + static_cast<float>(col) * 345;
            const float y = 480.0f + static_cast<float>(row) * 180;
            canvas.fillBox(x, y, x + 270, y + 120, row == 1 && col == 1 ? kPicked : kDesk);
        }
    }
}

// A link without an address is no link: it never lights up.
void VersionWindow::light(bool mail, bool web) {
    for (std::size_t i = kMailFirst; i <= kWebLast; ++i) {
        const bool lit =
            i <= kMailLast ? mail && !links_.mail.empty() : web && !links_.homePage.empty();
        Label1[i].foreColor = lit ? kLinkLit : kLinkAtRest;
    }
}

void VersionWindow::Label1_MouseMove(int index) {
    if (isMail(index))
        light(true, false);
    else if (isWeb(index))
        light(false, true);
}

void VersionWindow::Form_MouseMove() {
    light(false, false);
}

void VersionWindow::Label1_Click(int index) {
    if (isMail(index)) {
        if (links_.mail.empty()) return;
        if (!platform().openAddress("mailto:" + links_.mail)) platform().messageBox(kNoMailProgram);
    } else if (isWeb(index)) {
        if (links_.homePage.empty()) return;
        if (!platform().openAddress(links_.homePage)) platform().messageBox(kNoBrowser);
    }
}

void showVersionWindow(Platform& platform) {
    VersionWindow window(platform);
    window.showModal();
}

}  // namespace tosbel
