// Controls drawn on a page as a printed chart draws them: vector text and
// boxes, recorded by a paint engine at a printer's resolution.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/qt/control_look.h"
#include "platform/qt/qt_platform.h"
#include "tests/qt/qt_test_support.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

struct DrawnText {
    QString text;
    QFont font;
    QPointF baseline;  // where the text starts, on its baseline
    double width, ascent, descent;
    QColor colour;
};

struct DrawnBox {
    QRectF rect;
    std::optional<QColor> fill;
    std::optional<QColor> line;
    double lineWidth;
};

class RecordingEngine final : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& s) override {
        if (s.state() & DirtyPen) pen_ = s.pen();
        if (s.state() & DirtyBrush) brush_ = s.brush();
        if (s.state() & DirtyTransform) transform_ = s.transform();
    }
    using QPaintEngine::drawRects;
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            DrawnBox box{transform_.mapRect(rects[i]), std::nullopt, std::nullopt, pen_.widthF()};
            if (brush_.style() != Qt::NoBrush) box.fill = brush_.color();
            if (pen_.style() != Qt::NoPen) box.line = pen_.color();
            boxes.push_back(box);
        }
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        texts.push_back({item.text(), item.font(), transform_.map(p), item.width(), item.ascent(),
                         item.descent(), pen_.color()});
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

    std::vector<DrawnText> texts;
    std::vector<DrawnBox> boxes;

private:
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
};

// A page of a 600 dpi printer.
class RecordingPage final : public QPaintDevice {
public:
    static constexpr int kDpi = 600;
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
                return kDpi * 8;
            case PdmHeight:
                return kDpi * 11;
            case PdmWidthMM:
                return 8 * 254 / 10;
            case PdmHeightMM:
                return 11 * 254 / 10;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kDpi;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }
};

// A corner of a seating chart: a heading, a name in a frame, a name box.
class ChartForm final : public Form {
public:
    explicit ChartForm(Platform& p) : Form(p) {
        TOSBEL_DECLARE(Heading);
        Heading.place(300, 600, 1440, 270).caption = "出&&欠";
        Heading.backColor = Rgb{0xE0, 0xE0, 0xE0};
        Heading.border = true;
        Heading.alignment = Align::Center;
        Heading.font.size = 11.25f;
        Heading.font.bold = true;

        TOSBEL_DECLARE(Seat);
        Seat.place(1440, 1440, 2880, 1440);
        TOSBEL_DECLARE(Pupil);
        Pupil.container = &Seat;
        Pupil.place(120, 240, 2400, 720).caption = "山田";
        Pupil.alignment = Align::Right;
        Pupil.foreColor = Rgb{0, 0, 0x80};

        TOSBEL_DECLARE(Name);
        Name.place(300, 3600, 1650, 330).setText("田中");

        TOSBEL_DECLARE(Hidden);
        Hidden.place(300, 4200, 1440, 300).caption = "見えない";
        Hidden.visible = false;
        TOSBEL_DECLARE(Absent);
        Absent.place(300, 4800, 660, 270);
    }
    Label Heading;
    Frame Seat;
    Label Pupil;
    TextBox Name;
    Label Hidden;
    CheckBox Absent;
};

class ControlLook : public ::testing::Test {
protected:
    void SetUp() override {
        QPainter painter(&page);
        for (Control* c : form.controls()) drawn[c->name] = paintControl(painter, *c, scale);
    }

    // In the page's pixels.
    static QRectF at(double left, double top, double width, double height) {
        const double k = RecordingPage::kDpi / 1440.0;
        return QRectF(left * k, top * k, width * k, height * k);
    }
    const DrawnText* textOf(const QString& s) const {
        for (const DrawnText& t : page.engine.texts)
            if (t.text == s) return &t;
        return nullptr;
    }
    std::vector<DrawnBox> boxesWithin(const QRectF& area) const {
        std::vector<DrawnBox> found;
        for (const DrawnBox& b : page.engine.boxes)
            if (area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(b.rect)) found.push_back(b);
        return found;
    }

    TempDir dir;
    QtPlatform platform{dir.path().string()};
    ChartForm form{platform};
    RecordingPage page;
    TwipScale scale{RecordingPage::kDpi};
    std::map<std::string, bool> drawn;
};

TEST_F(ControlLook, ALabelIsItsFillBorderAndTextWithItsFontAndAlignment) {
    const QRectF box = at(300, 600, 1440, 270);
    const auto boxes = boxesWithin(box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rect, box);
    EXPECT_EQ(boxes[0].fill, QColor(0xE0, 0xE0, 0xE0));
    EXPECT_FALSE(boxes[0].line);
    // The border lies inside the box, one screen pixel wide.
    EXPECT_EQ(boxes[1].line, QColor(Qt::black));
    EXPECT_FALSE(boxes[1].fill);
    EXPECT_DOUBLE_EQ(boxes[1].lineWidth, RecordingPage::kDpi / 96.0);
    EXPECT_TRUE(box.contains(boxes[1].rect.adjusted(-3, -3, 3, 3)));

    // "&&" is an ampersand, not an access key.
    const DrawnText* heading = textOf(q("出&欠"));
    ASSERT_NE(heading, nullptr);
    // The Windows font, or the stand-in this desktop has for it.
    EXPECT_EQ(heading->font.family(), fontOf(FontSpec{}).family());
    EXPECT_EQ(QFontInfo(heading->font).family(), QFontInfo(QFont(q("ＭＳ Ｐゴシック"))).family());
    // Taller than its box: made just small enough to show whole, from the top.
    EXPECT_LT(heading->font.pointSizeF(), 11.25);
    EXPECT_GE(heading->font.pointSizeF(), 11.25 / 2);
    EXPECT_TRUE(heading->font.bold());
    EXPECT_NEAR(heading->baseline.x() + heading->width / 2, box.center().x(), 1);
    EXPECT_NEAR(heading->baseline.y() - heading->ascent, box.top(), 2 * RecordingPage::kDpi / 96.0);
}

TEST_F(ControlLook, AControlInAFrameCountsFromTheFrameAndASeeThroughLabelHasNoFill) {
    const QRectF box = at(1440 + 120, 1440 + 240, 2400, 720);
    EXPECT_TRUE(boxesWithin(box).empty());
    const DrawnText* pupil = textOf(q("山田"));
    ASSERT_NE(pupil, nullptr);
    EXPECT_EQ(pupil->colour, QColor(0, 0, 0x80));
    EXPECT_NEAR(pupil->baseline.x() + pupil->width, box.right(), 1);
    EXPECT_NEAR(pupil->baseline.y() - pupil->ascent, box.top(), 1);  // a roomy label: at the top
    EXPECT_EQ(areaOf(form.Pupil, scale), box);
}

TEST_F(ControlLook, ATextBoxIsFramedWhiteWithItsTextInsideTheMargin) {
    const QRectF box = at(300, 3600, 1650, 330);
    const auto boxes = boxesWithin(box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].fill, QColor(Qt::white));
    EXPECT_TRUE(boxes[1].line);
    const DrawnText* name = textOf(q("田中"));
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR(name->baseline.x(), box.left() + 3 * RecordingPage::kDpi / 96.0, 1);
}

TEST_F(ControlLook, HiddenControlsAndOtherKindsDrawNothing) {
    EXPECT_FALSE(drawn["Hidden"]);
    EXPECT_FALSE(drawn["Absent"]);
    EXPECT_FALSE(drawn["Seat"]);
    EXPECT_EQ(textOf(q("見えない")), nullptr);
    EXPECT_EQ(page.engine.texts.size(), 3u);
    EXPECT_EQ(page.engine.boxes.size(), 4u);
}

}  // namespace
}  // namespace tosbel
