#include "platform/form.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/headless/headless_platform.h"

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

TEST(Form, EnterMovesOnInTabOrderSkippingWhatCannotTakeTheFocus) {
    HeadlessPlatform p;
    Sample f(p);
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

TEST(Form, MenuArrayGrowsAfterItsLastElement) {
    HeadlessPlatform p;
    Sample f(p);
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
    two.onClick();
    EXPECT_EQ(clicked, 2);
    EXPECT_EQ(f.findMenu("mnuRecent", 1), &one);
    EXPECT_EQ(Shortcut::ctrlKey('N').text(), "Ctrl+N");
    EXPECT_EQ(Shortcut{vk::F1}.text(), "F1");
}

TEST(Form, QueryUnloadCanKeepAWindowOpen) {
    HeadlessPlatform p;
    Sample f(p);
    f.show();
    f.keepOpen = true;
    EXPECT_FALSE(f.close(UnloadMode::CloseBox));
    EXPECT_TRUE(f.isShown());
    f.keepOpen = false;
    EXPECT_TRUE(f.close(UnloadMode::CloseBox));
    EXPECT_FALSE(f.isShown());
    EXPECT_TRUE(p.openForms.empty());
}

TEST(HeadlessPlatform, RefusesWhatTheTestDidNotScriptNamingItsText) {
    HeadlessPlatform p;
    const Message m{"名簿を保存しました。", "保存確認", MsgButtons::Ok, MsgIcon::Information};
    try {
        p.messageBox(m);
        FAIL() << "an unscripted message was answered";
    } catch (const UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("名簿を保存しました。"), std::string::npos);
    }
    Sample f(p);
    EXPECT_THROW(f.showModal(), UnexpectedDialog);
    p.answerFileDialog("/x.MEM");
    EXPECT_THROW(p.messageBox(m), UnexpectedDialog);  // a dialog was due, not a message
    EXPECT_EQ(p.openFileDialog({}), "/x.MEM");

    HeadlessPlatform other;
    other.answerMessage("別の文", MsgAnswer::Ok);
    EXPECT_THROW(other.messageBox(m), UnexpectedDialog);
}

}  // namespace
}  // namespace tosbel
