#include "platform/form.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "tests/headless_test.h"

namespace tosbel {
namespace {

TEST(ByteLimit, CutsAtACharacterAndDropsWhatCodePage932CannotHold) {
    EXPECT_EQ(fitToByteLimit("山田太郎", 8), "山田太郎");
    EXPECT_EQ(fitToByteLimit("山田太郎花", 8), "山田太郎");
    EXPECT_EQ(fitToByteLimit("ab山田太郎", 8), "ab山田太");  // never half a character
    EXPECT_EQ(fitToByteLimit("ｱｲｳｴｵｶｷｸｹ", 8), "ｱｲｳｴｵｶｷｸ");   // half-width kana: one byte
    EXPECT_EQ(fitToByteLimit("山😀田", 8), "山田");
    EXPECT_EQ(fitToByteLimit("山田", 0), "山田");

    TextBox box;
    box.limitBytes(8);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.userEdited("鈴木一郎です");
    EXPECT_EQ(box.text, "鈴木一郎");
    box.userEdited("鈴木一郎さん");  // cut back to the same text: no change
    EXPECT_EQ(changes, 1);

    // A box holds one line, whoever fills it.
    box.setText("山\r\n田\t");
    EXPECT_EQ(box.text, "山田");
}

class Sample final : public Form {
public:
    explicit Sample(Platform& p) : Form(p) {
        name = "SAMPLE";
        declare(Text1, "Text1");
        declare(Caption, "Caption");
        declare(Ok, "Ok");
        declare(File, "mnuFile", "ﾌｧｲﾙ(&F)");
        declare(End, "mnuEnd", "終了(&X)");
        File.items.push_back(&End);
        declare(Recent, File);
        menuBar = {&File};
        Text1[1].onGotFocus = [this] { ++gotFocus; };
        Text1[1].onLostFocus = [this] { ++lostFocus; };
    }
    std::array<TextBox, 3> Text1;
    Label Caption;
    CommandButton Ok;
    MenuItem File, End;
    MenuArray Recent{"mnuRecent", "-"};
    int gotFocus = 0, lostFocus = 0;
    bool keepOpen = false;
    bool Form_QueryUnload(UnloadMode) override { return !keepOpen; }
};

class FormTest : public HeadlessTest {
protected:
    Sample f{platform};
};

TEST_F(FormTest, EnterMovesOnInTabOrderSkippingWhatCannotTakeTheFocus) {
    f.Text1[2].enabled = false;
    f.setFocus(f.Text1[0]);
    f.focusNext();
    EXPECT_EQ(f.focused(), &f.Text1[1]);
    f.focusNext();
    EXPECT_EQ(f.focused(), &f.Ok);  // past the disabled box and the label
    f.focusNext();
    EXPECT_EQ(f.focused(), &f.Text1[0]);  // round to the first
    EXPECT_EQ(f.gotFocus, 1);
    EXPECT_EQ(f.lostFocus, 1);
    EXPECT_EQ(f.find("Text1", 2), &f.Text1[2]);
}

TEST_F(FormTest, MenuArrayGrowsAfterItsLastElement) {
    const int before = f.menuRevision();
    MenuItem& one = f.Recent.load();
    one.caption = "a.MEM";
    MenuItem& two = f.Recent.load();
    EXPECT_FALSE(two.visible);
    EXPECT_EQ(two.index, 2);
    EXPECT_EQ(f.File.items, (std::vector<MenuItem*>{&f.End, &f.Recent[0], &one, &two}));
    EXPECT_EQ(f.menuRevision(), before + 2);
    int clicked = -1;
    f.Recent.onClick = [&](int i) { clicked = i; };
    f.show();
    two.visible = true;
    Driver(platform, f).menu("mnuRecent_2");
    EXPECT_EQ(clicked, 2);
    EXPECT_EQ(f.findMenu("mnuRecent", 1), &one);
    EXPECT_EQ(Shortcut::ctrlKey('N').text(), "Ctrl+N");
    EXPECT_EQ(Shortcut{vk::F1}.text(), "F1");
}

TEST_F(FormTest, QueryUnloadCanKeepAWindowOpen) {
    f.show();
    f.keepOpen = true;
    EXPECT_FALSE(f.close(UnloadMode::CloseBox));
    EXPECT_TRUE(f.isShown());
    f.keepOpen = false;
    EXPECT_TRUE(f.close(UnloadMode::CloseBox));
    EXPECT_FALSE(f.isShown());
    EXPECT_TRUE(platform.openForms.empty());
}

TEST_F(FormTest, TheScriptRefusesWhatItDidNotExpectNamingIt) {
    const Message m{"名簿を保存しました。", "保存確認", MsgButtons::Ok, MsgIcon::Information};
    try {
        platform.messageBox(m);
        FAIL() << "an unscripted message was answered";
    } catch (const UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("名簿を保存しました。"), std::string::npos);
    }
    EXPECT_THROW(f.showModal(), UnexpectedDialog);
    platform.answerFileDialog("/x.MEM");
    EXPECT_THROW(platform.messageBox(m), UnexpectedDialog);  // a dialog was due, not a message
    EXPECT_EQ(platform.openFileDialog({}), "/x.MEM");

    // Any difference from the expected message fails, and the answer waits
    // for the right one.
    platform.answerMessage(m, MsgAnswer::Cancel);
    Message text = m, title = m, buttons = m, icon = m;
    text.text = "別の文";
    title.title = "確認";
    buttons.buttons = MsgButtons::OkCancel;
    icon.icon = MsgIcon::Critical;
    for (const Message& other : {text, title, buttons, icon})
        EXPECT_THROW(platform.messageBox(other), UnexpectedDialog) << other.text;
    EXPECT_NE(platform.unusedScript().find("名簿を保存しました。"), std::string::npos);
    EXPECT_EQ(platform.messageBox(m), MsgAnswer::Cancel);
}

// The fixture itself: an answer that no dialog took fails the test.
class Leftover : public HeadlessTest {
public:
    void TestBody() override {}
    void check() { TearDown(); }
    HeadlessPlatform& script() { return platform; }
};

TEST(HeadlessFixture, AnAnswerNoDialogTookFailsTheTest) {
    static Leftover* test = nullptr;
    Leftover t;
    test = &t;
    t.script().answerFileDialog("/x.MEM");
    EXPECT_NONFATAL_FAILURE(test->check(), "/x.MEM");
    t.script().openFileDialog({});
    t.check();
}

// A window with one of each thing the teacher acts on; the handlers write what
// reached them, in order, to `log`.
class Board final : public Form {
public:
    explicit Board(Platform& p) : Form(p) {
        name = "BOARD";
        toolbar = &Toolbar1;
        declare(Check, "Check");
        declare(Frame1, "Frame1");
        declare(Option, "Option");
        declare(Scroll, "Scroll");
        declare(Name, "Name");
        declare(Note, "Note");
        declare(Tile, "Tile");
        declare(Bin, "Bin");
        declare(Ok, "Ok");
        declare(File, "mnuFile", "ﾌｧｲﾙ(&F)");
        declare(End, "mnuEnd", "終了(&X)");
        File.items = {&End};
        menuBar = {&File};

        for (Control* c : std::initializer_list<Control*>{&Check, &Option[0], &Option[1],
                                                          &Option[2], &Option[3], &Scroll}) {
            const std::string who =
                c->index < 0 ? c->name : c->name + "_" + std::to_string(c->index);
            c->onClick = [this, c, who] {
                log.push_back(who + " click " + std::to_string(c->value));
            };
            c->onChange = [this, who] { log.push_back(who + " change"); };
        }
        // Options 0 and 1 share the first frame, 2 and 3 the second.
        for (std::size_t i = 0; i < Option.size(); ++i) Option[i].container = &Frame1[i / 2];
        Option[0].value = Option[2].value = 1;
        Scroll.max = 10;

        Name.limitBytes(4);
        Name.onChange = [this] { ++nameChanges; };
        Name.onKeyPress = [this](KeyPress& k) {
            keys.push_back({'N', k.key});
            if (k.key == '!') k.key = 0;
        };

        Tile.tag = "3";
        Tile.onMouseDown = [this](const MouseDown&) { Tile.drag(); };
        Bin.onDragOver = [this](Control& source, DragState s) {
            log.push_back("over Bin from " + source.name + (s == DragState::Enter ? " enter" : ""));
        };
        Bin.onDragDrop = [this](Control& source) {
            log.push_back("drop on Bin from " + source.name + " tag " + source.tag);
        };
        Ok.onClick = [this] { log.push_back("Ok click"); };
        Note.onClick = [this] { log.push_back("Note click"); };
        End.onClick = [this] { log.push_back("mnuEnd"); };

        Toolbar1.buttons.resize(2);
        Toolbar1.button(1).command = &End;
        Toolbar1.onButtonClick = [this](int i) { log.push_back("button " + std::to_string(i)); };
    }

    void Form_DragDrop(Control& source) override {
        log.push_back("drop on the window from " + source.name);
    }

    CheckBox Check;
    std::array<Frame, 2> Frame1;
    std::array<OptionButton, 4> Option;
    ScrollBar Scroll;
    TextBox Name, Note;
    Label Tile, Bin;
    CommandButton Ok;
    MenuItem File, End;
    Toolbar Toolbar1;

    std::vector<std::string> log;
    std::vector<std::pair<char, char32_t>> keys;  // 'N' the Name box
    int nameChanges = 0;
};

using Log = std::vector<std::string>;
using Keys = std::vector<std::pair<char, char32_t>>;

class BoardTest : public HeadlessTest {
protected:
    BoardTest() { board.show(); }

    Board board{platform};
    Driver driver{platform, board};
};

TEST_F(BoardTest, ACheckBoxTurnsOverBeforeItsClickAndChangeAndTheProgramSetsItAlike) {
    driver.tick("Check");
    EXPECT_EQ(board.log, (Log{"Check click 1", "Check change"}));
    EXPECT_EQ(board.focused(), &board.Check);
    driver.click("Check");
    EXPECT_EQ(board.Check.value, 0);

    // The program setting the value is heard once, and not at all when
    // nothing changes.
    board.log.clear();
    board.Check.setValue(1);
    board.Check.setValue(1);
    EXPECT_EQ(board.log, (Log{"Check click 1", "Check change"}));
}

TEST_F(BoardTest, OneOptionIsOnInEachFrame) {
    driver.tick("Option_1");
    EXPECT_EQ(board.log, (Log{"Option_1 click 1", "Option_1 change"}));
    EXPECT_EQ(board.Option[0].value, 0);
    EXPECT_EQ(board.Option[2].value, 1) << "another frame's option stays on";

    // A click on the option already on says nothing.
    board.log.clear();
    driver.tick("Option_1");
    driver.click("Option_1");
    EXPECT_TRUE(board.log.empty());

    board.Option[3].setValue(1);
    board.Option[3].setValue(1);
    EXPECT_EQ(board.log, (Log{"Option_3 click 1", "Option_3 change"}));
    EXPECT_EQ(board.Option[2].value, 0);
    EXPECT_EQ(board.Option[1].value, 1);
}

TEST_F(BoardTest, AScrollBarSetByTheProgramSaysChangeOnly) {
    board.Scroll.setValue(4);
    board.Scroll.setValue(4);
    EXPECT_EQ(board.log, Log{"Scroll change"});
    EXPECT_EQ(board.Scroll.value, 4);
}

// Escape presses the cancel button unless the focused box takes the key, and
// never a button the teacher could not press.
TEST_F(BoardTest, EscapePressesTheCancelButtonWhenItCouldBePressed) {
    driver.key(kKeyEscape);
    EXPECT_TRUE(board.log.empty()) << "no cancel button: Escape does nothing";
    board.cancelButton = &board.Ok;
    driver.click("Name");
    driver.key(kKeyEscape);
    EXPECT_EQ(board.log, Log{"Ok click"});
    board.Ok.enabled = false;
    driver.key(kKeyEscape);
    EXPECT_EQ(board.log, Log{"Ok click"});
    board.Ok.enabled = true;
    board.Name.onKeyPress = [](KeyPress& k) { k.key = 0; };
    driver.key(kKeyEscape);
    EXPECT_EQ(board.log, Log{"Ok click"});
}

TEST_F(BoardTest, TypingGoesThroughTheKeyHandlersAndStopsAtTheByteLimit) {
    driver.type("Name", "山!田太");
    EXPECT_EQ(board.Name.text, "山田");
    EXPECT_EQ(board.nameChanges, 2) << "a character that does not fit changes nothing";
    EXPECT_EQ(board.keys, (Keys{{'N', U'山'}, {'N', '!'}, {'N', U'田'}, {'N', U'太'}}));

    driver.type("Note", "x\ry");
    EXPECT_EQ(board.Note.text, "xy");
    EXPECT_EQ(board.focused(), &board.Note);
}

TEST_F(BoardTest, TheDriverRefusesWhatTheWindowWouldNotLetTheTeacherDo) {
    board.Check.enabled = false;
    EXPECT_THROW(driver.tick("Check"), RefusedAction);
    board.Ok.visible = false;
    EXPECT_THROW(driver.click("Ok"), RefusedAction);
    board.Frame1[1].enabled = false;
    EXPECT_THROW(driver.tick("Option_3"), RefusedAction);
    driver.tick("Option_1");  // the other frame is still on
    board.Note.locked = true;
    EXPECT_THROW(driver.type("Note", "x"), RefusedAction);

    board.End.enabled = false;
    EXPECT_THROW(driver.menu("mnuEnd"), RefusedAction);
    EXPECT_THROW(driver.toolbar("Toolbar1_1"), RefusedAction);
    board.End.enabled = true;
    board.File.enabled = false;
    EXPECT_THROW(driver.menu("mnuEnd"), RefusedAction);
    // The button follows the command itself, not the menu it is on.
    driver.toolbar("Toolbar1_1");
    driver.toolbar("Toolbar1_2");
    EXPECT_EQ(board.log, (Log{"Option_1 click 1", "Option_1 change", "mnuEnd", "button 2"}));

    board.close();
    EXPECT_THROW(driver.click("Name"), RefusedAction);
    EXPECT_THROW(driver.toolbar("Toolbar1_2"), RefusedAction);
}

TEST_F(BoardTest, ADragDropsOnItsTargetWithTheSourceInHand) {
    driver.drag("Tile", "Bin");
    driver.drag("Tile", "");
    EXPECT_EQ(board.log, (Log{"over Bin from Tile enter", "drop on Bin from Tile tag 3",
                              "drop on the window from Tile"}));

    // A press that starts no drag drops nothing.
    board.log.clear();
    EXPECT_THROW(driver.drag("Ok", "Bin"), RefusedAction);
    EXPECT_TRUE(board.log.empty());
}

}  // namespace
}  // namespace tosbel
