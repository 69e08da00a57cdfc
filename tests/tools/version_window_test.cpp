#include "tools/version_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"

namespace tosbel {
namespace {

const AuthorLinks kLinks{"author@example.org",
                         "https://example.org/teachers/tools/seating/download/index.html"};

// Which of labels 10 … 14 are lit, as "11000".
std::string lit(const VersionWindow& w) {
    std::string out;
    for (std::size_t i = 10; i <= 14; ++i)
        out += w.Label1[i].foreColor == Rgb{0x00, 0xFF, 0x00} ? '1' : '0';
    return out;
}

using VersionWindowTest = HeadlessTest;

TEST_F(VersionWindowTest, LetteringIsAShadowBeneathAColouredLabelShiftedUpAndLeft) {
    VersionWindow window(platform, kLinks);
    EXPECT_EQ(window.clientWidth(), 5955);
    EXPECT_EQ(window.clientHeight(), 3975);
    const auto& controls = window.controls();
    const auto order = [&](const Control& c) {
        return std::find(controls.begin(), controls.end(), &c) - controls.begin();
    };
    const std::size_t pairs[][2] = {{0, 1}, {2, 3}, {4, 5}, {19, 18}, {6, 7}, {8, 9}};
    for (const auto& [shadow, front] : pairs) {
        const Label& s = window.Label1[shadow];
        const Label& f = window.Label1[front];
        EXPECT_EQ(s.caption, f.caption) << front;
        EXPECT_EQ(s.foreColor, (Rgb{0, 0, 0})) << shadow;
        EXPECT_FALSE(s.backColor || f.backColor) << front;
        EXPECT_GT(s.left, f.left) << front;
        EXPECT_GT(s.top, f.top) << front;
        EXPECT_LT(order(s), order(f)) << "shadow " << shadow << " must lie beneath";
    }
}

// The group under the pointer is bright, the other pale; the background
// makes both pale, other labels leave them as they are.
TEST_F(VersionWindowTest, ThePointerLightsTheLinkUnderIt) {
    VersionWindow window(platform, kLinks);
    Driver driver(platform, window);
    window.show();
    EXPECT_EQ(lit(window), "00000");
    EXPECT_EQ(window.Label1[11].pointer, Control::Pointer::Hand);
    driver.hover("Label1_11");
    EXPECT_EQ(lit(window), "11000");
    driver.hover("Label1_14");
    EXPECT_EQ(lit(window), "00111");
    driver.hover("Label1_1");
    EXPECT_EQ(lit(window), "00111");
    driver.hover("");
    EXPECT_EQ(lit(window), "00000");
}

TEST_F(VersionWindowTest, LinksOpenTheirAddressesWithTheDesktopsPrograms) {
    VersionWindow window(platform, kLinks);
    Driver driver(platform, window);
    window.show();
    // The long address goes on in label 14 after a "/" of its path.
    EXPECT_EQ(window.Label1[13].caption + window.Label1[14].caption, kLinks.homePage);
    EXPECT_EQ(window.Label1[13].caption.back(), '/');

    for (const char* label : {"Label1_10", "Label1_11", "Label1_12", "Label1_14", "Label1_7"})
        driver.click(label);
    const std::string mail = "mailto:author@example.org";
    EXPECT_EQ(platform.addresses,
              (std::vector<std::string>{mail, mail, kLinks.homePage, kLinks.homePage}));
}

// Each link names the program it needed when the desktop has none.
TEST_F(VersionWindowTest, ALinkNoProgramTakesSaysWhichProgramIsMissing) {
    VersionWindow window(platform, kLinks);
    Driver driver(platform, window);
    window.show();
    platform.addressesOpen = false;
    platform.answerMessage(
        {"メールソフトが見つかりません。", "ﾒｰﾙｿﾌﾄ確認", MsgButtons::Ok, MsgIcon::Exclamation});
    driver.click("Label1_10");
    platform.answerMessage(
        {"ブラウザが見つかりません。", "ﾌﾞﾗｳｻﾞ確認", MsgButtons::Ok, MsgIcon::Exclamation});
    driver.click("Label1_12");
}

TEST_F(VersionWindowTest, EscapeClosesItAsItsOnlyButtonDoes) {
    VersionWindow window(platform, kLinks);
    Driver driver(platform, window);
    window.show();
    driver.key(kKeyEscape);
    EXPECT_FALSE(window.isShown());
}

// A build given no address says so on the link, which neither lights up nor
// opens anything; a set one beside it still works.
TEST_F(VersionWindowTest, AnUnsetAddressIsShownAsSuchAndDoesNothing) {
    VersionWindow window(platform, {"", "https://example.org/"});
    Driver driver(platform, window);
    window.show();
    EXPECT_EQ(window.Label1[11].caption, kAddressNotSet);
    EXPECT_EQ(window.Label1[13].caption, "https://example.org/");
    driver.hover("Label1_11");
    EXPECT_EQ(lit(window), "00000");
    driver.click("Label1_11");
    driver.click("Label1_13");
    EXPECT_EQ(platform.addresses, std::vector<std::string>{"https://example.org/"});

    EXPECT_EQ(window.Label1[11].pointer, Control::Pointer::Default);
    window.close();
    VersionWindow none(platform, {});
    Driver noneDriver(platform, none);
    none.show();
    EXPECT_EQ(none.Label1[13].caption, kAddressNotSet);
    noneDriver.hover("Label1_13");
    EXPECT_EQ(lit(none), "00000");
}

// The opener every window's version command calls shows this build's
// addresses and returns once 了解 has closed it.
TEST_F(VersionWindowTest, OpensModallyWithTheBuildsAddresses) {
    const AuthorLinks built = builtInAuthorLinks();
    platform.modalDriver = [&](Form& f) {
        EXPECT_EQ(f.name, "INFO_VER");
        EXPECT_EQ(f.find("Label1", 11)->caption,
                  built.mail.empty() ? std::string(kAddressNotSet) : built.mail);
        Driver(platform, f).click("Command1");
    };
    showVersionWindow(platform);
    EXPECT_EQ(platform.shown, std::vector<std::string>{"INFO_VER"});
}

}  // namespace
}  // namespace tosbel
