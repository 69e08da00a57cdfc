// A keyboard user sees which control has the focus, whatever colours the form
// gives its controls.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/form.h"
#include "platform/qt/qt_platform.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

struct Scheme {
    const char* name;
    Rgb back, fore;
};

// The roster editor's grey attendance boxes, a plain white form, a dark one.
constexpr Scheme kSchemes[] = {
    {"grey", {0x80, 0x80, 0x80}, {0, 0, 0}},
    {"white", {0xFF, 0xFF, 0xFF}, {0, 0, 0}},
    {"navy", {0, 0, 0x80}, {0xFF, 0xFF, 0}},
};

// Every kind that takes the focus, a check box with and without a caption,
// and a box the focus waits in.
class FocusForm final : public Form {
public:
    FocusForm(Platform& p, const Scheme& s) : Form(p) {
        name = "FOCUS";
        backColor = s.back;
        TOSBEL_DECLARE(Check1);
        Check1.place(120, 120, 660, 270);
        TOSBEL_DECLARE(Check2);
        Check2.place(1200, 120, 1500, 300).caption = "欠席";
        TOSBEL_DECLARE(Option1);
        Option1.place(120, 600, 1500, 300).caption = "男女";
        TOSBEL_DECLARE(Text1);
        Text1.place(120, 1100, 1650, 270).setText("山田");
        TOSBEL_DECLARE(Command1);
        Command1.place(120, 1600, 1500, 450).caption = "実行";
        TOSBEL_DECLARE(HScroll1);
        HScroll1.place(120, 2300, 3000, 255);
        TOSBEL_DECLARE(Parking);
        Parking.place(3500, 120, 1500, 270);
        for (Control* c : controls()) {
            c->backColor = s.back;
            c->foreColor = s.fore;
        }
    }
    CheckBox Check1, Check2;
    OptionButton Option1;
    TextBox Text1;
    CommandButton Command1;
    ScrollBar HScroll1;
    TextBox Parking;
};

// Pixels that changed enough to be seen, not a faint tint.
int seenChanges(const QImage& a, const QImage& b) {
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), r = b.pixelColor(x, y);
            const int step = std::max({std::abs(p.red() - r.red()), std::abs(p.green() - r.green()),
                                       std::abs(p.blue() - r.blue())});
            if (step >= 96) ++changed;
        }
    }
    return changed;
}

TEST(FocusMark, EveryKindThatTakesTheFocusShowsItInEveryColourScheme) {
    TempDir dir;
    QtPlatform platform{dir.path().string()};
    for (const Scheme& scheme : kSchemes) {
        FocusForm form{platform, scheme};
        form.show();
        QWidget* win = window("FOCUS");
        ASSERT_NE(win, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(win));
        auto* parking = win->findChild<QWidget*>(q("Parking"));
        for (const char* name : {"Check1", "Check2", "Option1", "Text1", "Command1", "HScroll1"}) {
            SCOPED_TRACE(std::string(scheme.name) + " " + name);
            auto* w = win->findChild<QWidget*>(q(name));
            ASSERT_NE(w, nullptr);
            // Focus moved by the program, as Enter moves it in the roster
            // editor, not by Tab.
            parking->setFocus();
            const QImage without = w->grab().toImage();
            w->setFocus();
            ASSERT_TRUE(w->hasFocus());
            const QImage with = w->grab().toImage();
            EXPECT_GE(seenChanges(without, with), 12);
        }
        form.discard();
    }
}

}  // namespace
}  // namespace tosbel
