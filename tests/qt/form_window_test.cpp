#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/qt/qt_platform.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

// One of every kind of control, menu, bar and timer a form declares.
class SampleForm final : public Form {
public:
    explicit SampleForm(Platform& p) : Form(p) {
        name = "SAMPLE";
        caption = "席の表";
        width = 9000;
        height = 7500;

        declare(Label1, "Label1");
        Label1.place(120, 600, 1800, 300).caption = "名前";
        declare(Text1, "Text1");
        for (std::size_t i = 0; i < 3; ++i)
            Text1[i].place(120, 1000 + 400 * static_cast<int>(i), 1500, 330).limitBytes(6);
        declare(Check1, "Check1");
        Check1.place(120, 2300, 1800, 300).caption = "欠席";
        declare(Frame1, "Frame1");
        Frame1.place(3000, 600, 2400, 1500).caption = "並び";
        declare(Option1, "Option1");
        for (std::size_t i = 0; i < 2; ++i) {
            Option1[i].container = &Frame1;
            Option1[i].place(120, 300 + 400 * static_cast<int>(i), 1800, 300).caption =
                i == 0 ? "男女" : "名簿順";
        }
        declare(Command1, "Command1");
        Command1.place(120, 2800, 1500, 450).caption = "実行(&R)";
        declare(Image1, "Image1");
        Image1.place(6000, 600, 900, 900).picture = "/nonexistent/picture.bmp";
        declare(Line1, "Line1");
        Line1.x1 = 120, Line1.y1 = 3500, Line1.x2 = 5000, Line1.y2 = 3500;
        declare(HScroll1, "HScroll1");
        HScroll1.place(120, 3700, 3000, 255);

        declare(mnuFile, "mnuFile", "ファイル(&F)");
        declare(mnuFileNew, "mnuFileNew", "新規作成(&N)", Shortcut::ctrlKey('N'));
        declare(mnuFileSub, "mnuFileSub", "最近使ったファイル");
        declare(mnuFileSubItem, "mnuFileSubItem", "名簿1.MEM");
        declare(mnuView, "mnuView", "表示(&V)");
        mnuView.checked = true;
        mnuFileSub.items = {&mnuFileSubItem};
        mnuFile.items = {&mnuFileNew, &mnuFileSub};
        declare(mnuFileArray2, mnuFile);
        menuBar = {&mnuFile, &mnuView};

        Toolbar1.buttons = {{1, "新規作成", "", false, true, true},
                            {2, "", "", true, true, true},
                            {3, "開く", "", false, true, true}};
        toolbar = &Toolbar1;
        StatusBar1.panels = {{PanelStyle::Text, "準備完了", "", 1440, true},
                             {PanelStyle::CapsLock, "", "", 600, false}};
        statusBar = &StatusBar1;
        declare(Timer1, "Timer1", 500);
    }

    Label Label1;
    std::array<TextBox, 3> Text1;
    CheckBox Check1;
    Frame Frame1;
    std::array<OptionButton, 2> Option1;
    CommandButton Command1;
    Image Image1;
    Line Line1;
    ScrollBar HScroll1;
    MenuItem mnuFile, mnuFileNew, mnuFileSub, mnuFileSubItem, mnuView;
    MenuArray mnuFileArray2{"mnuFileArray2", "(なし)"};
    Toolbar Toolbar1;
    StatusBar StatusBar1;
    Timer Timer1;
};

template <class T>
T* child(QWidget* root, const char* name) {
    T* found = root->findChild<T*>(q(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList actionNames(const QMenu* menu) {
    QStringList names;
    for (const QAction* a : menu->actions()) names << a->objectName();
    return names;
}

class QtFormWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        win = window("SAMPLE");
        ASSERT_NE(win, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(win));
    }

    TempDir dir;
    QtPlatform platform{dir.path().string()};
    SampleForm form{platform};
    QWidget* win = nullptr;
};

TEST_F(QtFormWindow, BuildsEveryDeclarationWithItsNameTextAndTwipGeometry) {
    EXPECT_EQ(win->windowTitle(), q("席の表"));
    EXPECT_EQ(child<QWidget>(win, "client")->size(),
              QSize(px(form.clientWidth()), px(form.clientHeight())));

    EXPECT_EQ(child<QLabel>(win, "Label1")->text(), q("名前"));
    EXPECT_EQ(child<QLineEdit>(win, "Text1_2")->geometry(),
              QRect(px(120), px(1800), px(1500), px(330)));
    EXPECT_EQ(child<QCheckBox>(win, "Check1")->text(), q("欠席"));
    EXPECT_EQ(child<QPushButton>(win, "Command1")->text(), q("実行(&R)"));
    auto* option = child<QRadioButton>(win, "Option1_1");
    EXPECT_EQ(option->text(), q("名簿順"));
    EXPECT_EQ(option->parentWidget(), child<QGroupBox>(win, "Frame1"));
    EXPECT_EQ(option->geometry(), QRect(px(120), px(700), px(1800), px(300)));
    EXPECT_TRUE(child<QLabel>(win, "Image1")->pixmap().isNull());
    EXPECT_NE(child<QScrollBar>(win, "HScroll1"), nullptr);

    auto* fileNew = child<QAction>(win, "mnuFileNew");
    EXPECT_EQ(fileNew->text(), q("新規作成(&N)"));
    EXPECT_EQ(fileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(actionNames(child<QMenu>(win, "mnuFileSub")), QStringList{q("mnuFileSubItem")});
    EXPECT_EQ(actionNames(child<QMenu>(win, "mnuFile")),
              (QStringList{q("mnuFileNew"), q("mnuFileSub"), q("mnuFileArray2_0")}));
    EXPECT_TRUE(child<QAction>(win, "mnuView")->isChecked());

    auto* toolbar = child<QWidget>(win, "Toolbar1");
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, px(form.clientWidth()), px(420)));
    EXPECT_EQ(child<QToolButton>(win, "Toolbar1_3")->toolTip(), q("開く"));
    auto* status = child<QWidget>(win, "StatusBar1");
    EXPECT_EQ(status->geometry().bottom(), px(form.clientHeight()) - 1);
    EXPECT_EQ(child<QLabel>(win, "StatusBar1_1")->text(), q("準備完了"));
    EXPECT_EQ(child<QLabel>(win, "StatusBar1_2")->text(), q("CAPS"));

    auto* timer = child<QTimer>(win, "Timer1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
}

TEST_F(QtFormWindow, WidgetsFollowTheFormAfterEveryHandler) {
    std::vector<int> arrayClicks, toolClicks;
    form.mnuFileArray2.onClick = [&](int i) { arrayClicks.push_back(i); };
    form.Toolbar1.onButtonClick = [&](int i) { toolClicks.push_back(i); };
    form.Command1.onClick = [&] {
        MenuItem& added = form.mnuFileArray2.load();
        added.caption = "名簿2.MEM";
        added.visible = true;
        form.Label1.caption = "変更後";
        form.Text1[0].setText("田中");
        form.Option1[1].value = 1;
        form.Timer1.enabled = false;
        form.Check1.enabled = false;
    };
    QTest::mouseClick(child<QPushButton>(win, "Command1"), Qt::LeftButton);

    EXPECT_EQ(child<QLabel>(win, "Label1")->text(), q("変更後"));
    EXPECT_EQ(child<QLineEdit>(win, "Text1_0")->text(), q("田中"));
    EXPECT_TRUE(child<QRadioButton>(win, "Option1_1")->isChecked());
    EXPECT_FALSE(child<QTimer>(win, "Timer1")->isActive());
    EXPECT_FALSE(child<QCheckBox>(win, "Check1")->isEnabled());
    // The grown menu array sits after its first element, in the same menu.
    EXPECT_EQ(actionNames(child<QMenu>(win, "mnuFile")),
              (QStringList{q("mnuFileNew"), q("mnuFileSub"), q("mnuFileArray2_0"),
                           q("mnuFileArray2_1")}));
    auto* added = child<QAction>(win, "mnuFileArray2_1");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->text(), q("名簿2.MEM"));
    EXPECT_TRUE(added->isVisible());
    added->trigger();
    QTest::mouseClick(child<QToolButton>(win, "Toolbar1_3"), Qt::LeftButton);
    EXPECT_EQ(arrayClicks, std::vector<int>{1});
    EXPECT_EQ(toolClicks, std::vector<int>{3});

    // A user's click lands in the form's values before its handler runs.
    int seen = -1;
    form.Check1.enabled = true;
    form.Check1.onClick = [&] { seen = form.Check1.value; };
    form.Option1[0].onClick = [&] {};
    QTest::mouseClick(child<QRadioButton>(win, "Option1_0"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>(win, "Check1"), Qt::LeftButton);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(form.Option1[0].value, 1);
    EXPECT_EQ(form.Option1[1].value, 0);
}

TEST_F(QtFormWindow, MenuShortcutReachesItsHandlerAndTheWindowShowsTheResult) {
    form.mnuFileNew.onClick = [&] { form.Label1.caption = "新しい名簿"; };
    QTest::keyClick(win, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(child<QLabel>(win, "Label1")->text(), q("新しい名簿"));
}

TEST_F(QtFormWindow, TypingStopsAtTheByteLimitAndEnterInsertsNothing) {
    std::vector<char32_t> keys;
    int changes = 0;
    form.Text1[0].onKeyPress = [&](KeyPress& k) { keys.push_back(k.key); };
    form.Text1[0].onChange = [&] { ++changes; };
    auto* box = child<QLineEdit>(win, "Text1_0");
    box->setFocus();
    EXPECT_EQ(form.focused(), &form.Text1[0]);

    typeText(box, q("山田花子"));  // two bytes each: three fit in six
    EXPECT_EQ(form.Text1[0].text, "山田花");
    EXPECT_EQ(box->text(), q("山田花"));
    EXPECT_EQ(changes, 3);
    // A full box keeps its text when more is typed in the middle.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_EQ(box->text(), q("山田花"));

    keys.clear();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(keys, std::vector<char32_t>{kKeyEnter});
    EXPECT_EQ(box->text(), q("山田花"));
}

TEST_F(QtFormWindow, KeyHandlersSwallowOrReplaceTheCharacter) {
    // Digits are kept out, small letters become capitals.
    form.Text1[1].onKeyPress = [](KeyPress& k) {
        if (k.key >= '0' && k.key <= '9') k.key = 0;
        if (k.key >= 'a' && k.key <= 'z') k.key -= 'a' - 'A';
    };
    auto* box = child<QLineEdit>(win, "Text1_1");
    box->setFocus();
    QTest::keyClicks(box, "a1b");
    EXPECT_EQ(box->text(), q("AB"));
    EXPECT_EQ(form.Text1[1].text, "AB");

    // What the input method commits goes through the same handler, character by
    // character, and the byte limit.
    form.Text1[2].onKeyPress = form.Text1[1].onKeyPress;
    auto* other = child<QLineEdit>(win, "Text1_2");
    other->setFocus();
    commitText(other, q("山1田花子"));
    EXPECT_EQ(other->text(), q("山田花"));
    EXPECT_EQ(form.Text1[2].text, "山田花");
}

TEST_F(QtFormWindow, MenuArrayEntriesAppearInTheOpenMenuAndTakeTheirCaptions) {
    // Opening a menu is the place to fill it: the new entry appears in the open
    // menu, and the menu bar still knows that menu is the open one.
    form.mnuFile.onClick = [&] {
        MenuItem& added = form.mnuFileArray2.load();
        added.caption = "名簿2.MEM";
        added.visible = true;
    };
    auto* bar = win->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    auto* menu = child<QMenu>(win, "mnuFile");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());

    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(bar->activeAction(), menu->menuAction());
    EXPECT_TRUE(actionNames(menu).contains(q("mnuFileArray2_1")));
    menu->close();

    // An entry loaded as a separator line, as element 0 is, and named later.
    form.mnuFileArray2[0].caption = "-";
    form.Command1.onClick = [&] { form.mnuFileArray2.load().visible = true; };
    QTest::mouseClick(child<QPushButton>(win, "Command1"), Qt::LeftButton);
    form.Command1.onClick = [&] { form.mnuFileArray2[2].caption = "名簿3.MEM"; };
    QTest::mouseClick(child<QPushButton>(win, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(child<QAction>(win, "mnuFileArray2_0")->isSeparator());
    auto* named = child<QAction>(win, "mnuFileArray2_2");
    EXPECT_FALSE(named->isSeparator());
    EXPECT_EQ(named->text(), q("名簿3.MEM"));
}

TEST_F(QtFormWindow, FocusIsWhereTheKeysGoAfterAHandlerSwitchesBoxesOnOrOff) {
    std::vector<std::string> events;
    for (std::size_t i = 0; i < 2; ++i) {
        form.Text1[i].onGotFocus = [&, i] { events.push_back("got" + std::to_string(i)); };
        form.Text1[i].onLostFocus = [&, i] { events.push_back("lost" + std::to_string(i)); };
    }
    auto* first = child<QLineEdit>(win, "Text1_0");
    auto* second = child<QLineEdit>(win, "Text1_1");
    first->setFocus();
    events.clear();

    // The focused box is switched off: Qt moves on to the next, and so does the form.
    form.Text1[0].onChange = [&] { form.Text1[0].enabled = false; };
    QTest::keyClick(first, Qt::Key_A);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(form.focused(), &form.Text1[1]);
    EXPECT_EQ(events, (std::vector<std::string>{"lost0", "got1"}));

    // A box switched on and focused by the same handler takes the keys.
    form.Text1[1].onChange = [&] {
        form.Text1[0].enabled = true;
        form.Text1[0].setFocus();
    };
    QTest::keyClick(second, Qt::Key_B);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(form.focused(), &form.Text1[0]);
}

// Counts how often a widget is drawn, and how often the drawing reaches a spot
// of it that nothing changes.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* w, QPoint spot = {}) : spot_(spot) {
        w->installEventFilter(this);
    }
    int paints = 0, atSpot = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            if (static_cast<QPaintEvent*>(e)->region().contains(spot_)) ++atSpot;
        }
        return false;
    }

private:
    QPoint spot_;
};

TEST_F(QtFormWindow, AHandlerRedrawsOnlyWhatItChanged) {
    // With a hundred boxes, drawing the whole window after every keystroke is
    // what makes typing slow.
    const auto drawNow = [this] {
        QEvent draw(QEvent::UpdateRequest);  // what Qt's own timer would send
        QApplication::sendEvent(win, &draw);
    };
    drawNow();
    PaintCounter client(child<QWidget>(win, "client"), QPoint(px(8000), px(5000)));  // bare
    PaintCounter label(child<QLabel>(win, "Label1"));
    PaintCounter box(child<QLineEdit>(win, "Text1_2"));
    form.Command1.onClick = [&] { form.Text1[2].setText("田中"); };
    QTest::mouseClick(child<QPushButton>(win, "Command1"), Qt::LeftButton);
    drawNow();
    EXPECT_GE(box.paints, 1);  // the drawing did happen
    EXPECT_EQ(client.atSpot, 0);
    EXPECT_EQ(label.paints, 0);

    form.Command1.onClick = [&] { form.backColor = Rgb{0, 0, 128}; };
    QTest::mouseClick(child<QPushButton>(win, "Command1"), Qt::LeftButton);
    drawNow();
    EXPECT_EQ(client.atSpot, 1);
}

TEST_F(QtFormWindow, KeyHandlerThatReleasesItsFormLeavesTheWindowAlone) {
    // As when the program makes a window afresh while the old one's handler runs.
    const auto type = [&](const std::function<void(QWidget*)>& send) {
        auto released = std::make_unique<SampleForm>(platform);
        released->name = "RELEASED";
        released->Text1[0].onKeyPress = [&released](KeyPress& k) {
            k.key = 'X';
            released.reset();
        };
        released->show();
        QWidget* w = window("RELEASED");
        ASSERT_NE(w, nullptr);
        QLineEdit* box = child<QLineEdit>(w, "Text1_0");
        box->setFocus();
        send(box);
        EXPECT_EQ(released, nullptr);
        EXPECT_FALSE(w->isVisible());
    };
    type([](QWidget* box) { QTest::keyClick(box, Qt::Key_A); });
    type([](QWidget* box) { commitText(box, q("山田")); });
}

// A small modal window that closes itself from its own button.
class CloseForm final : public Form {
public:
    explicit CloseForm(Platform& p) : Form(p) {
        name = "CLOSER";
        declare(Command1, "Command1");
        Command1.place(120, 120, 1200, 450).caption = "閉じる";
        Command1.onClick = [this] { close(); };
    }
    bool Form_QueryUnload(UnloadMode mode) override {
        modes.push_back(mode);
        return allowClose;
    }
    CommandButton Command1;
    std::vector<UnloadMode> modes;
    bool allowClose = true;
};

TEST_F(QtFormWindow, ModalFormClosedByItsOwnHandlerEndsTheShowAndIsFreed) {
    CloseForm closer{platform};
    QPointer<QWidget> shown;
    whenModal<QWidget>([&](QWidget* w) {
        shown = w;
        QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    });
    closer.showModal();

    EXPECT_FALSE(closer.isShown());
    EXPECT_EQ(closer.modes, std::vector<UnloadMode>{UnloadMode::Program});
    ASSERT_FALSE(shown.isNull());
    EXPECT_FALSE(shown->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
}

// Escape reaches the cancel button even when no control has the focus.
TEST_F(QtFormWindow, EscapeInAModalFormPressesItsCancelButton) {
    CloseForm closer{platform};
    closer.cancelButton = &closer.Command1;
    whenModal<QWidget>([](QWidget* w) {
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    closer.showModal();
    EXPECT_FALSE(closer.isShown());
    EXPECT_EQ(closer.modes, std::vector<UnloadMode>{UnloadMode::Program});
}

TEST_F(QtFormWindow, CloseBoxAsksTheForm) {
    CloseForm closer{platform};
    closer.allowClose = false;
    closer.show();
    QWidget* w = window("CLOSER");
    ASSERT_NE(w, nullptr);
    w->close();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(closer.isLoaded());

    closer.allowClose = true;
    w->close();
    EXPECT_FALSE(closer.isLoaded());
    EXPECT_EQ(closer.modes, (std::vector<UnloadMode>{UnloadMode::CloseBox, UnloadMode::CloseBox}));
}

TEST_F(QtFormWindow, EndProgramEndsModalShowsAndTheEventLoop) {
    CloseForm closer{platform};
    closer.allowClose = false;  // ending the program asks nobody
    QTimer::singleShot(0, [&] { platform.endProgram(); });
    closer.showModal();
    EXPECT_FALSE(closer.isLoaded());
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(closer.modes.empty());
    EXPECT_EQ(platform.run(), 0);
}

TEST_F(QtFormWindow, RunEndsWhenTheLastWindowHasClosed) {
    QTimer::singleShot(0, [&] { form.close(); });
    EXPECT_EQ(platform.run(), 0);
    EXPECT_FALSE(form.isLoaded());
}

// A link: the hand over it, and the pointer's moves reach the link and the
// window's background of a window that asks for them.
class LinkForm final : public Form {
public:
    explicit LinkForm(Platform& p) : Form(p) {
        name = "LINKS";
        width = 6000;
        height = 4000;
        tracksMouse = true;
        declare(Link, "Link");
        Link.place(600, 600, 2400, 300).caption = "ホームページ";
        Link.pointer = Control::Pointer::Hand;
        Link.onMouseMove = [this] { ++linkMoves; };
    }
    void Form_MouseMove() override { ++backgroundMoves; }

    Label Link;
    int linkMoves = 0;
    int backgroundMoves = 0;
};

TEST(QtPointer, MovesReachTheLinkAndTheBackgroundAndTheLinkShowsTheHand) {
    TempDir dir;
    QtPlatform platform{dir.path().string()};
    LinkForm form{platform};
    form.show();
    QWidget* win = window("LINKS");
    ASSERT_NE(win, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));
    auto* link = child<QLabel>(win, "Link");
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(link, QPoint(10, 5));
    QTest::mouseMove(link, QPoint(20, 6));
    EXPECT_GE(form.linkMoves, 1);
    QTest::mouseMove(child<QWidget>(win, "client"), QPoint(px(4000), px(3000)));
    EXPECT_GE(form.backgroundMoves, 1);
    form.close();
}

}  // namespace
}  // namespace tosbel
