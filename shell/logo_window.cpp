#include "shell/logo_window.h"

#include "platform/platform.h"

namespace tosbel {

namespace {

constexpr int kWidth = 7200;
constexpr int kHeight = 4500;
constexpr Rgb kPaper{250, 246, 232};
constexpr Rgb kInk{20, 60, 110};
constexpr Rgb kShadow{170, 180, 200};

}  // namespace

LogoWindow::LogoWindow(Platform& platform) : Form(platform) {
    name = "INITDISP";
    borderStyle = BorderStyle::None;
    width = kWidth;
    height = kHeight;
    backColor = kPaper;
    const ScreenTwips screen = platform.screen();
    left = static_cast<int>((screen.width - kWidth) / 2);
    top = static_cast<int>((screen.height - kHeight) / 2);

    declare(Label2, "Label2");
    declare(Label4, "Label4");
    declare(Label1, "Label1");
    declare(Label3, "Label3");
    declare(Label5, "Label5");
    declare(Label6, "Label6");
    declare(Line1, "Line1");
    declare(Timer1, "Timer1", 5000);

    const auto letter = [](Label& l, const char* text, float size, Rgb colour) {
        l.caption = text;
        l.font = {"ＭＳ Ｐ明朝", size, true, true, false};
        l.foreColor = colour;
    };
    letter(Label1, "Tosbel", 46, kInk);
    letter(Label2, "Tosbel", 46, kShadow);
    letter(Label3, "君", 36, kInk);
    letter(Label4, "君", 36, kShadow);
    Label1.place(2400, 900, 3500, 1150);
    Label2.place(2450, 950, 3500, 1150);
    Label3.place(5750, 1100, 1000, 950);
    Label4.place(5800, 1150, 1000, 950);

    Label5.caption = "Ver.1.5.1";
    Label5.font = {"Times New Roman", 12, true, false, false};
    Label5.foreColor = kInk;
    Label5.alignment = Align::Right;
    Label5.place(4300, 2300, 2600, 350);
    Label6.caption = "for  Windows 98/Me/NT/2000/XP";
    Label6.font = {"Times New Roman", 12, false, true, false};
    Label6.foreColor = kInk;
    Label6.alignment = Align::Right;
    Label6.place(2200, 2750, 4700, 400);

    for (std::size_t i = 0; i < Line1.size(); ++i) {
        Line& l = Line1[i];
        const int y = 2200 + static_cast<int>(i) * 1120;
        l.x1 = 2400;
        l.x2 = 6900;
        l.y1 = l.y2 = y;
        l.borderColor = kInk;
        l.borderWidth = 2;
    }

    Timer1.onTimer = [this] { close(); };
}

// The picture: a small seating chart, four rows of desks with one highlighted
// as if just drawn by lot.
void LogoWindow::Form_Paint(Canvas& canvas) {
    constexpr Rgb kDesk{120, 150, 190};
    constexpr Rgb kPicked{230, 120, 40};
    constexpr Rgb kBoard{40, 90, 70};
    canvas.fillBox(400, 600, 2100, 800, kBoard);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const float x = 400.0f + static_cast<float>(col) * 450;
            const float y = 1150.0f + static_cast<float>(row) * 500;
            canvas.fillBox(x, y, x + 340, y + 300, row == 2 && col == 1 ? kPicked : kDesk);
        }
    }
    canvas.fillBox(0, static_cast<float>(kHeight - 360), static_cast<float>(kWidth),
                   static_cast<float>(kHeight), kInk);
}

}  // namespace tosbel
