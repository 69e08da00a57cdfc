#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include <sys/stat.h>

#include "platform/form.h"
#include "platform/qt/control_look.h"
#include "platform/qt/help_window.h"
#include "platform/qt/name_filters.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_settings_store.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

class QtPlatformTest : public ::testing::Test {
protected:
    TempDir dir;
    QtPlatform platform{dir.path().string()};
};

struct Seen {
    QString text, title, ok, cancel;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool okIsDefault = false;
};

Seen read(QMessageBox* box) {
    Seen s{box->text(), box->windowTitle(), {}, {}, box->icon(), false};
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) s.ok = ok->text();
    if (QAbstractButton* cancel = box->button(QMessageBox::Cancel)) s.cancel = cancel->text();
    s.okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
    return s;
}

TEST_F(QtPlatformTest, MessageBoxShowsTheExactJapaneseMessage) {
    Seen seen;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        seen = read(box);
        box->button(QMessageBox::Cancel)->click();
    });
    const MsgAnswer answer = platform.messageBox(
        {"名簿を保存しますか？", "Tosbel君", MsgButtons::OkCancel, MsgIcon::Exclamation});

    EXPECT_EQ(answer, MsgAnswer::Cancel);
    EXPECT_EQ(seen.text, q("名簿を保存しますか？"));
    EXPECT_EQ(seen.title, q("Tosbel君"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.ok, q("OK"));
    EXPECT_EQ(seen.cancel, q("キャンセル"));
    EXPECT_TRUE(seen.okIsDefault);
}

class LabelForm final : public Form {
public:
    explicit LabelForm(Platform& p) : Form(p) {
        name = "LABELS";
        declare(Label1, "Label1");
        Label1.place(120, 120, 3000, 300).caption = "前";
    }
    Label Label1;
};

TEST_F(QtPlatformTest, MessageBoxBringsTheWindowsUpToDateFirstAndEscapeAnswersOk) {
    LabelForm form{platform};
    form.show();
    form.Label1.caption = "後";  // changed by the program, not by a handler
    Seen seen;
    QString label;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        seen = read(box);
        label = window("LABELS")->findChild<QLabel*>(q("Label1"))->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const MsgAnswer answer =
        platform.messageBox({"名簿が読めません。", "エラー", MsgButtons::Ok, MsgIcon::Critical});

    EXPECT_EQ(answer, MsgAnswer::Ok);
    EXPECT_EQ(label, q("後"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_TRUE(seen.cancel.isEmpty());
}

// Qt's own dialogs speak Japanese on a system set to another language.
TEST_F(QtPlatformTest, TheOpenDialogSpeaksJapanese) {
    spit(dir.path() / "1組.MEM", "");
    QStringList buttons, headers;
    QString modified;
    whenModal<QFileDialog>([&](QFileDialog* d) {
        for (const QPushButton* b : d->findChildren<QPushButton*>())
            if (b->isVisible()) buttons << b->text();
        const auto* view = d->findChild<QTreeView*>();
        for (int c = 0; view && c < view->model()->columnCount(); ++c)
            headers << view->model()->headerData(c, Qt::Horizontal).toString();
        d->reject();
    });
    platform.openFileDialog({"名簿を開く", "名簿ﾌｧｲﾙ(*.MEM)|*.MEM", dir.path().string(), ""});
    EXPECT_TRUE(buttons.contains(q("開く(&O)")) || buttons.contains(q("開く")))
        << buttons.join(u',').toStdString();
    EXPECT_TRUE(buttons.contains(q("キャンセル"))) << buttons.join(u',').toStdString();
    EXPECT_TRUE(headers.contains(q("名前"))) << headers.join(u',').toStdString();
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}

TEST_F(QtPlatformTest, FileFiltersFindBothLetterCases) {
    for (const char* name : {"x.mem", "Y.MEM", "z.txt"}) spit(dir.path() / name, "");
    const QStringList filters =
        nameFilters("名簿ファイル (*.MEM)|*.MEM|すべてのファイル (*.*)|*.*");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith(q("名簿ファイル (*.MEM)")));

    // The patterns as Qt's dialog reads them: the last parentheses.
    const QString first = filters[0];
    const qsizetype open = first.lastIndexOf(u'(');
    const QStringList patterns = first.mid(open + 1, first.size() - open - 2).split(u' ');
    QStringList found = QDir(QString::fromStdString(dir.path().string()))
                            .entryList(patterns, QDir::Files | QDir::CaseSensitive);
    found.sort();
    EXPECT_EQ(found, (QStringList{q("Y.MEM"), q("x.mem")}));
}

TEST_F(QtPlatformTest, HelpShowsTheCompiledInPages) {
    platform.showHelp({HelpCommand::Context, 9999});  // no such page: the contents
    QWidget* help = window("HelpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), q("Tosbel君 ヘルプ"));
    auto* browser = help->findChild<QTextBrowser*>();
    EXPECT_EQ(browser->documentTitle(), q("目次"));
    EXPECT_FALSE(help->findChild<QLineEdit*>(q("HelpKeyword"))->isVisible());

    platform.showHelp({HelpCommand::PartialKey, 0});
    EXPECT_TRUE(help->findChild<QLineEdit*>(q("HelpKeyword"))->isVisible());
}

// A window in the middle of the screen that asks for help from its own
// command, as the roster editor's F1 does.
class AskingForm final : public Form {
public:
    explicit AskingForm(Platform& p) : Form(p) {
        name = "ASKER";
        left = 4500, top = 3000, width = 6000, height = 4500;
        declare(Command1, "Command1");
        Command1.place(120, 120, 1500, 450).caption = "ヘルプ";
        Command1.onClick = [this] { platform().showHelp({HelpCommand::PartialKey, 0}); };
    }
    CommandButton Command1;
};

TEST_F(QtPlatformTest, HelpFromAModalFormOpensBesideItAndTakesKeysWhileTheFormStaysOpen) {
    AskingForm asker{platform};
    QRect askerAt, helpAt;
    QString typed;
    bool helpClosed = false, askerStayed = false;
    const auto useHelp = [&] {
        QWidget* w = window("ASKER");
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(w->isModal());
        QTest::mouseClick(w->findChild<QPushButton*>(q("Command1")), Qt::LeftButton);
        QWidget* help = window("HelpWindow");
        ASSERT_NE(help, nullptr);
        askerAt = w->frameGeometry();
        helpAt = help->frameGeometry();
        // Keys as the window system delivers them, which it holds back from
        // a window the modal one blocks.
        for (const char key : {'a', 'b', 'c'}) QTest::keyClick(help->windowHandle(), key);
        typed = help->findChild<QLineEdit*>(q("HelpKeyword"))->text();
        help->close();
        helpClosed = !help->isVisible();
        askerStayed = asker.isShown() && w->isVisible();
    };
    QTimer::singleShot(0, [&] {
        useHelp();
        asker.close();
    });
    asker.showModal();

    EXPECT_EQ(typed, q("abc"));
    EXPECT_TRUE(helpClosed);
    EXPECT_TRUE(askerStayed);
    EXPECT_NE(helpAt.topLeft(), QPoint(0, 0));
    EXPECT_TRUE(helpAt.adjusted(-16, -16, 16, 16).intersects(askerAt));
}

TEST(HelpPlace, BesideTheAskerWhereThereIsRoomElseCentredAndAlwaysOnScreen) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize help(640, 480);
    EXPECT_EQ(placeBeside(QRect(100, 100, 800, 600), help, screen), QPoint(908, 100));
    EXPECT_EQ(placeBeside(QRect(1000, 200, 800, 600), help, screen), QPoint(352, 200));
    EXPECT_EQ(placeBeside(QRect(400, 100, 1100, 800), help, screen), QPoint(629, 259));
    EXPECT_EQ(placeBeside(QRect(100, 900, 800, 150), help, screen), QPoint(908, 600));
    // A second screen counts from its own edges.
    EXPECT_EQ(placeBeside(QRect(2000, 100, 800, 600), help, QRect(1920, 0, 1920, 1080)),
              QPoint(2808, 100));
}

// Wherever the window system put it, and however the index widens it, the
// help window stays wholly on its screen.
TEST_F(QtPlatformTest, TheHelpWindowStaysWhollyOnItsScreen) {
    platform.showHelp({HelpCommand::Contents, 0});
    QWidget* help = window("HelpWindow");
    ASSERT_NE(help, nullptr);
    const QRect screen = help->screen()->availableGeometry();
    help->resize(400, 300);
    help->move(screen.right() - 100, screen.top() + 10);
    help->resize(440, 300);
    QTest::qWait(50);
    EXPECT_TRUE(screen.contains(help->frameGeometry()))
        << help->frameGeometry().x() << " " << help->frameGeometry().width() << " in "
        << screen.width();
    help->close();
}

TEST(QtSettingsStore, ValuesSurviveANewStoreAndReachTheFileAtOnce) {
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, q("TOSBEL"), q("TOSBEL")).fileName();
    QFile::remove(file);
    {
        QtSettingsStore store;
        EXPECT_EQ(store.read("Koma", "Koma(0)"), "");
        store.save("Koma", "Koma(0)", "山田 花子");
        // On disk already, while the store lives: a crash now loses nothing.
        QFile ini(file);
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_TRUE(ini.readAll().contains("山田 花子"));
    }
    QtSettingsStore again;
    EXPECT_EQ(again.read("Koma", "Koma(0)"), "山田 花子");
    EXPECT_EQ(again.read("Koma", "Koma(1)"), "");
}

TEST(QtSettingsStore, ASettingsFileThatCannotBeKeptIsSaidSoAndAPipeIsNeverRead) {
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, q("TOSBEL"), q("TOSBEL")).fileName();
    const QString folder = QFileInfo(file).absolutePath();
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).absolutePath());

    // Where the folder should be there is a file: nothing can be written.
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    {
        QtSettingsStore store;
        EXPECT_FALSE(store.save("Config", "OptDbl", "0"));
        EXPECT_EQ(store.location(), file.toStdString());
    }
    QFile::remove(folder);

    // A named pipe in the file's place would keep a reader waiting for ever.
    QDir().mkpath(folder);
    ASSERT_EQ(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    {
        QtSettingsStore store;
        EXPECT_FALSE(store.save("Config", "OptDbl", "0"));
        EXPECT_EQ(store.read("Config", "OptDbl"), "0");  // kept for the run
    }
    QFile::remove(file);
}

// Qt writes the settings through "TOSBEL.ini.XXXXXX"; one a killed program
// left behind goes at the next start, and nothing else beside the file does.
TEST(QtSettingsStore, TemporariesAKilledRunLeftGoAtTheNextStart) {
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, q("TOSBEL"), q("TOSBEL")).fileName();
    const QDir folder = QFileInfo(file).absoluteDir();
    QDir().mkpath(folder.path());
    const QStringList left = {q("TOSBEL.ini.aB3xY9"), q("TOSBEL.ini.ZZZZZZ")};
    const QStringList kept = {q("TOSBEL.ini.lock2"), q("TOSBEL.ini.bak"), q("other.ini.aB3xY9")};
    for (const QString& name : left + kept) {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Config]\n");
    }
    { QtSettingsStore store; }
    for (const QString& name : left) EXPECT_FALSE(folder.exists(name)) << name.toStdString();
    for (const QString& name : kept) {
        EXPECT_TRUE(folder.exists(name)) << name.toStdString();
        QFile::remove(folder.filePath(name));
    }
}

// A picture is looked at before it is decoded: a small file claiming a huge
// picture, or one whose data is broken, shows nothing and counts as none.
TEST_F(QtPlatformTest, OnlyPicturesThatDecodeWholeWithinTheSizeLimitShow) {
    QImage photo(2100, 2100, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    ASSERT_TRUE(photo.save(QString::fromStdString(dir.file("big.png")), "PNG"));
    EXPECT_TRUE(platform.pictureShows(dir.file("big.png")));
    EXPECT_EQ(pictureFile(dir.file("big.png")).size(), QSize(2100, 2100));

    QFile::copy(QString::fromStdString(dir.file("big.png")),
                QString::fromStdString(dir.file("broken.png")));
    QFile broken(QString::fromStdString(dir.file("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::ReadWrite));
    broken.seek(60);
    broken.write(QByteArray(200, '\xAB'));  // the picture data, behind a sound header
    broken.close();

    // A PNG header claiming 30000 × 30000, the rest of a small picture after it.
    QFile source(QString::fromStdString(dir.file("big.png")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray bomb = source.readAll();
    const char claim[] = {0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30};
    bomb.replace(16, 8, QByteArray(claim, 8));
    QFile out(QString::fromStdString(dir.file("bomb.png")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bomb);
    out.close();

    for (const char* name : {"broken.png", "bomb.png"}) {
        EXPECT_FALSE(platform.pictureShows(dir.file(name))) << name;
        EXPECT_TRUE(pictureFile(dir.file(name)).isNull()) << name;
    }
}

}  // namespace
}  // namespace tosbel
