// The help as the teacher reaches it: every help command of every window opens
// its own page in the help viewer, the keyword index finds every page, the
// links between pages hold, and every toolbar picture is compiled in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <array>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "conditions/conditions_window.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/help_window.h"
#include "platform/qt/toolbar_icons.h"
#include "results/result_window.h"
#include "roster/roster_editor.h"
#include "roster/roster_file.h"
#include "shell/main_window.h"
#include "shell/shell.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// What each help command of each window asked for, and the toolbar pictures
// the windows show: every window opened through the command a teacher uses,
// its help menu items, toolbar help button and "ﾍﾙﾌﾟ" button pressed.
struct WindowsWalked {
    std::map<std::string, std::vector<HelpRequest>> helps;  // by window name
    std::set<std::string> pictures;
};

// Presses every help command a window has: its help menu items, its toolbar's
// help button and its "ﾍﾙﾌﾟ" button; answers what the window asked for and
// adds its toolbar pictures to `pictures`.
std::vector<HelpRequest> pressHelp(HeadlessPlatform& platform, Form& f,
                                   std::set<std::string>& pictures) {
    Driver d(platform, f);
    const std::size_t before = platform.helps.size();
    for (const char* item : {"mnuHelpContext_KeyWord_0", "mnuHelpContext_KeyWord_1"}) {
        try {
            d.menuItem(item);
        } catch (const std::exception&) {
            continue;
        }
        d.menu(item);
    }
    if (Toolbar* bar = f.toolbar) {
        for (const ToolButton& b : bar->buttons) {
            if (!b.image.empty()) pictures.insert(b.image);
            if (b.image == "help") d.toolbar(bar->name + "_" + std::to_string(b.index));
        }
    }
    try {
        if (d.control("Command1_2").caption == "ﾍﾙﾌﾟ") d.click("Command1_2");
    } catch (const std::invalid_argument&) {
    }
    return {platform.helps.begin() + static_cast<std::ptrdiff_t>(before), platform.helps.end()};
}

WindowsWalked walkEveryWindow() {
    WindowsWalked walked;
    TempDir dir;
    HeadlessPlatform platform;
    platform.folder = dir.path().string();
    platform.store.save("Config", "OptLogo", "0");
    const std::string roster = dir.file("1組.MEM");
    writeRoster(roster, {"相田", "石川", "上野"});

    const auto askForHelp = [&](Form& f) {
        const std::vector<HelpRequest> asked = pressHelp(platform, f, walked.pictures);
        auto& mine = walked.helps[f.name];
        mine.insert(mine.end(), asked.begin(), asked.end());
    };
    platform.modalDriver = [&](Form& f) {
        askForHelp(f);
        f.discard();
    };

    Shell shell(platform);
    shell.startUp();
    askForHelp(*shell.mainWindow());
    platform.answerFileDialog(roster);
    Driver(platform, *shell.mainWindow()).menu("mnuImport");
    WindowOpeners& open = shell.windows();
    open.rosterEditor(true);  // a new roster
    shell.state().RosterPath = roster;
    open.rosterEditor(true);  // the roster opened
    open.conditions();
    askForHelp(*shell.conditionsWindow());
    shell.state().WishRosterPath = roster;
    Driver(platform, *shell.conditionsWindow()).menu("mnuWishes");
    shell.conditionsWindow()->discard();
    open.result();
    askForHelp(*shell.resultWindow());
    Driver(platform, *shell.resultWindow()).menu("mnuNoPrintLine");
    shell.resultWindow()->discard();
    open.countdownSettings();
    open.backup();
    open.background();
    open.editingSoftware();
    open.version();
    platform.answerFileDialog(roster);
    open.fileCopy();
    platform.answerFileDialog(roster);
    open.fileRename();
    EXPECT_TRUE(platform.scriptDone()) << platform.unusedScript();
    return walked;
}

const WindowsWalked& walked() {
    static const WindowsWalked w = walkEveryWindow();
    return w;
}

// The title each context page must have, so a page cannot answer for another.
const std::map<int, const char*> kContextTitles = {
    {24, "名簿の修正"},
    {26, "名簿の新規作成"},
    {29, "ファイルのコピー"},
    {30, "ファイル名の変更"},
    {31, "データのバックアップ"},
    {34, "席替えの結果"},
    {36, "Tosbel条件の設定"},
    {39, "背景の設定"},
    {40, "席の希望"},
    {41, "名簿の取り込みと書き出し"},
    {86, "印刷しない行の設定"},
    {92, "カウントダウンの設定"},
    {93, "編集ソフトの設定"},
};
const char* const kContentsTitle = "目次";

class HelpTest : public ::testing::Test {
protected:
    HelpWindow help;
    QTextBrowser* browser = help.findChild<QTextBrowser*>(q("HelpBrowser"));
    QLineEdit* keyword = help.findChild<QLineEdit*>(q("HelpKeyword"));
    QListWidget* keywords = help.findChild<QListWidget*>(q("HelpKeywords"));

    QString title() const { return browser->documentTitle(); }
    // Japanese comes through the input method, one committed character at a
    // time, as a teacher types and confirms it.
    void type(const QString& text) {
        for (const QChar c : text) {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(keyword, &commit);
        }
    }
    void press(const char* button) {
        auto* b = help.findChild<QAbstractButton*>(q(button));
        ASSERT_NE(b, nullptr) << button;
        ASSERT_TRUE(b->isEnabled()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QStringList listed() const {
        QStringList items;
        for (int i = 0; i < keywords->count(); ++i) items << keywords->item(i)->text();
        return items;
    }
};

TEST_F(HelpTest, EveryHelpCommandOfEveryWindowOpensItsOwnPage) {
    std::set<int> contexts;
    for (const auto& [window, asked] : walked().helps) {
        for (const HelpRequest& r : asked) {
            help.open(r, nullptr);
            switch (r.command) {
                case HelpCommand::Context: {
                    contexts.insert(r.context);
                    const auto expected = kContextTitles.find(r.context);
                    ASSERT_NE(expected, kContextTitles.end())
                        << window << " asks for help " << r.context << ", which has no page";
                    EXPECT_EQ(title(), q(expected->second)) << window << ", help " << r.context;
                    EXPECT_FALSE(keyword->isVisible());
                    break;
                }
                case HelpCommand::Contents:
                    EXPECT_EQ(title(), q(kContentsTitle)) << window;
                    break;
                case HelpCommand::PartialKey:
                    EXPECT_TRUE(keyword->isVisible()) << window;
                    EXPECT_EQ(help.focusWidget(), keyword) << window;
                    EXPECT_GT(keywords->count(), 50) << window;
                    break;
            }
        }
    }
    std::set<int> every;
    for (const auto& [n, page] : kContextTitles) every.insert(n);
    EXPECT_EQ(contexts, every) << "a window no longer asks for one of the pages";
    // Each window with a help menu also has the keyword search.
    for (const char* window : {"TOSBEL", "TOUROKU", "COND", "RESULT"})
        EXPECT_TRUE(std::count(walked().helps.at(window).begin(), walked().helps.at(window).end(),
                               HelpRequest{HelpCommand::PartialKey, 0}))
            << window;

    // A number no window asks for still shows something: the contents.
    help.open({HelpCommand::Context, 9999}, nullptr);
    EXPECT_EQ(title(), q(kContentsTitle));
}

// Each main-window command with a help page, run from its menu as a teacher
// runs it: the window it opens asks for that same page, and the page is there.
TEST_F(HelpTest, EveryCommandOfTheMainWindowNamesThePageOfTheWindowItOpens) {
    TempDir dir;
    HeadlessPlatform platform;
    platform.folder = dir.path().string();
    platform.store.save("Config", "OptLogo", "0");
    const std::string roster = dir.file("1組.MEM");
    writeRoster(roster, {"相田", "石川", "上野"});
    std::set<std::string> pictures;
    std::vector<HelpRequest> asked;
    platform.modalDriver = [&](Form& f) {
        const auto mine = pressHelp(platform, f, pictures);
        asked.insert(asked.end(), mine.begin(), mine.end());
        f.discard();
    };
    Shell shell(platform);
    shell.startUp();
    // The seat wishes are kept beside the class's roster.
    shell.state().WishRosterPath = roster;

    std::vector<std::pair<std::string, int>> commands;
    for (const Command& c : shell.mainWindow()->commands().rows())
        if (c.help != 0) commands.emplace_back(c.name, c.help);
    ASSERT_GE(commands.size(), 10u);
    for (const auto& [name, page] : commands) {
        asked.clear();
        shell.showMainWindow();
        MainWindow& main = *shell.mainWindow();
        if (!main.findMenu(name)->enabled) {
            main.conditionsLoaded();
            main.resultAvailable();
        }
        // Whatever file the command asks for is the class's roster.
        platform.answerFileDialog(roster);
        Driver(platform, main).menu(name);
        if (!platform.scriptDone()) platform.clearScript();
        const std::array<Form*, 3> modeless{shell.rosterEditor(), shell.conditionsWindow(),
                                            shell.resultWindow()};
        for (Form* f : modeless) {
            if (!f || !f->isShown()) continue;
            const auto mine = pressHelp(platform, *f, pictures);
            asked.insert(asked.end(), mine.begin(), mine.end());
            f->discard();
        }
        EXPECT_TRUE(std::count(asked.begin(), asked.end(), HelpRequest{HelpCommand::Context, page}))
            << name << " names page " << page;
        const auto expected = kContextTitles.find(page);
        ASSERT_NE(expected, kContextTitles.end()) << name;
        help.open({HelpCommand::Context, page}, nullptr);
        EXPECT_EQ(title(), q(expected->second)) << name;
    }
}

TEST_F(HelpTest, EveryKeywordOfTheIndexOpensItsPageThroughTheSearchField) {
    help.open({HelpCommand::PartialKey, 0}, nullptr);
    ASSERT_FALSE(help.catalogue().index().empty());
    for (const HelpIndexEntry& e : help.catalogue().index()) {
        keyword->clear();
        type(e.keyword);
        const QList<QListWidgetItem*> found = keywords->findItems(e.label, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << e.label.toStdString();
        keywords->setCurrentItem(found.front());
        press("HelpShow");
        EXPECT_EQ(title(), e.page->title) << e.label.toStdString();
    }
}

TEST_F(HelpTest, TheListNarrowsAsTheTeacherTypesWhateverTheKanaOrWidth) {
    help.open({HelpCommand::PartialKey, 0}, nullptr);
    const int all = keywords->count();
    type(q("カウント"));
    const QStringList full = listed();
    ASSERT_FALSE(full.isEmpty());
    EXPECT_LT(full.size(), all);
    for (const QString& k : full) EXPECT_TRUE(k.contains(q("カウント"))) << k.toStdString();
    // The same keywords in half-width katakana and in hiragana.
    for (const char* typed : {"ｶｳﾝﾄ", "かうんと"}) {
        keyword->clear();
        type(q(typed));
        EXPECT_EQ(listed(), full) << typed;
    }
    // Enter opens the first line, as a double-click would.
    QTest::keyClick(keyword, Qt::Key_Return);
    EXPECT_EQ(title(), help.catalogue().matching(q("かうんと")).front()->page->title);
    // The arrow keys walk the list without leaving the field.
    QTest::keyClick(keyword, Qt::Key_Down);
    EXPECT_EQ(keywords->currentRow(), 1);
    EXPECT_EQ(help.focusWidget(), keyword);

    keyword->clear();
    type(q("zzz"));
    EXPECT_EQ(keywords->count(), 0);
    EXPECT_FALSE(help.findChild<QPushButton*>(q("HelpShow"))->isEnabled());
}

// Teachers type the reading before converting it, or their own word for a
// topic rather than the window's.
TEST_F(HelpTest, ReadingsAndEverydayWordsFindTheirPages) {
    help.open({HelpCommand::PartialKey, 0}, nullptr);
    const std::vector<std::pair<const char*, const char*>> wanted = {
        {"せきがえ", "席替えの実行とカウントダウン"},
        {"いんさつ", "結果の印刷"},
        {"さくじょ", "ファイルの削除"},
        {"くうせき", "Tosbel条件の設定"},
        {"空席", "Tosbel条件の設定"},
    };
    for (const auto& [typed, page] : wanted) {
        keyword->clear();
        type(q(typed));
        QStringList opened;
        for (int row = 0; row < keywords->count(); ++row) {
            keywords->setCurrentRow(row);
            press("HelpShow");
            opened << title();
        }
        EXPECT_TRUE(opened.contains(q(page)))
            << typed << " opens " << opened.join(u' ').toStdString();
    }
    // Every kanji keyword can be reached by typing kana.
    static const QRegularExpression kanji(q("[\\x{3005}\\x{4E00}-\\x{9FFF}]"));
    for (const HelpIndexEntry& e : help.catalogue().index()) {
        if (e.keyword.contains(kanji)) {
            EXPECT_TRUE(!e.reading.isEmpty() && !e.reading.contains(kanji))
                << e.label.toStdString();
        }
    }
}

TEST_F(HelpTest, BackForwardAndContentsFollowTheTeachersWay) {
    help.open({HelpCommand::Context, 24}, nullptr);
    EXPECT_FALSE(help.findChild<QToolButton*>(q("HelpBack"))->isEnabled());
    browser->setSource(QUrl(q("qrc:/help/36.html")));  // a link followed
    EXPECT_EQ(title(), q(kContextTitles.at(36)));
    press("HelpBack");
    EXPECT_EQ(title(), q(kContextTitles.at(24)));
    press("HelpForward");
    EXPECT_EQ(title(), q(kContextTitles.at(36)));
    press("HelpContents");
    EXPECT_EQ(title(), q(kContentsTitle));
    press("HelpSearch");
    EXPECT_TRUE(keyword->isVisible());
    press("HelpSearch");
    EXPECT_FALSE(keyword->isVisible());
}

// Every link and picture of every page leads somewhere, every page is reached
// from the contents, and every page shows its title and lists keywords.
TEST(HelpPages, LinksPicturesTitlesAndKeywordsHold) {
    const HelpCatalogue catalogue;
    ASSERT_GE(catalogue.pages().size(), kContextTitles.size() + 1);
    static const QRegularExpression reference(q("(href|src)=\"([^\"]*)\""));
    static const QRegularExpression heading(q("<h1[^>]*>(.*?)</h1>"));
    std::map<QString, QString> html;
    for (const HelpPage& p : catalogue.pages()) {
        QFile f(p.path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << p.path.toStdString();
        html[p.path] = QString::fromUtf8(f.readAll());
    }
    std::map<QString, QSet<QString>> linksOf;
    for (const HelpPage& p : catalogue.pages()) {
        const std::string page = p.path.toStdString();
        const QString& text = html[p.path];
        EXPECT_FALSE(p.title.isEmpty()) << page;
        EXPECT_EQ(heading.match(text).captured(1), p.title) << page;
        EXPECT_FALSE(p.keywords.isEmpty()) << page;
        for (auto m = reference.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch link = m.next();
            const QString target = link.captured(2);
            ASSERT_FALSE(target.contains(u':'))
                << page << " leads outside: " << target.toStdString();
            const QString file = target.section(u'#', 0, 0);
            const QString anchor = target.section(u'#', 1);
            const QString path = file.isEmpty() ? p.path : q(":/help/") + file;
            ASSERT_TRUE(QFile::exists(path)) << page << " → " << target.toStdString();
            if (link.captured(1) == q("src")) {
                EXPECT_FALSE(QImage(path).isNull()) << page << " → " << target.toStdString();
                continue;
            }
            linksOf[p.path].insert(path);
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(html[path].contains(q("id=\"") + anchor + u'"'))
                    << page << " → " << target.toStdString();
            }
        }
    }
    QSet<QString> reached{catalogue.contentsPath()};
    std::vector<QString> todo{catalogue.contentsPath()};
    while (!todo.empty()) {
        const QString p = todo.back();
        todo.pop_back();
        for (const QString& next : linksOf[p])
            if (!reached.contains(next)) {
                reached.insert(next);
                todo.push_back(next);
            }
    }
    for (const HelpPage& p : catalogue.pages())
        EXPECT_TRUE(reached.contains(p.path)) << p.path.toStdString() << " is reached from no page";
}

TEST(Pictures, EveryToolbarPictureAndTheProgramIconAreCompiledInAtTheirSizes) {
    ASSERT_GE(walked().pictures.size(), 15u);
    for (const std::string& name : walked().pictures) {
        EXPECT_EQ(QImage(toolbarPicturePath(name, false)).size(), QSize(16, 16)) << name;
        EXPECT_EQ(QImage(toolbarPicturePath(name, true)).size(), QSize(32, 32)) << name;
        const QIcon icon = toolIcon(ToolButton{1, "", name});
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}})) << name;
    }
    const QIcon program = namedWindowIcon("tosbel");
    for (const int side : {16, 32, 48, 256})
        EXPECT_TRUE(program.availableSizes().contains(QSize(side, side))) << side;
}

// The help window as the teacher sees it, kept in the build's test folder to
// look at.
TEST_F(HelpTest, PicturesOfTheHelpWindowOnTheContentsAndTheRosterEditorsPage) {
    const auto keep = [this](const char* name) {
        const QPixmap picture = help.grab();
        EXPECT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.save(q(QT_TESTCASE_BUILDDIR "/") + q(name))) << name;
    };
    help.open({HelpCommand::Contents, 0}, nullptr);
    keep("help_contents.png");
    help.open({HelpCommand::Context, 24}, nullptr);
    keep("help_roster_editor.png");
    help.open({HelpCommand::PartialKey, 0}, nullptr);
    type(q("名簿"));
    keep("help_keywords.png");
}

}  // namespace
}  // namespace tosbel
