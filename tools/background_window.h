#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/form.h"
#include "platform/geometry.h"

namespace tosbel {

struct AppState;
class Platform;

// Whether the main window can show the file as its background: an ordinary
// file no larger than a window reads, a BMP, JPEG, GIF or PNG picture of a
// size the program decodes, that decodes whole. A pipe or a device under a
// picture's name is refused unopened.
bool isPictureFile(Platform& platform, const std::string& path);

// GAMEN, "背景": the main window's background, one of four gradients or a
// picture of the teacher's own. Nothing is stored until 了解, except that a
// picture picked goes into Maing in memory at once.
class BackgroundWindow final : public Form {
public:
    // `applied` runs after 了解 has put a new background into the shared state
    // and the store, for the main window to take it up.
    BackgroundWindow(AppState& state, Platform& platform, std::function<void()> applied);

    std::array<Label, 2> Label1;            // 0 the instruction, 1 "その他"
    std::array<OptionButton, 5> Option1;    // the choices "0" … "4"
    std::array<Image, 5> Image1;            // 0 … 3 the gradients, 4 the picture
    CommandButton Command2;                 // picks the picture
    std::array<CommandButton, 3> Command1;  // 了解, 取消, ﾍﾙﾌﾟ

    // The choice selected, "0" … "4".
    std::string Gam;

    void Form_Load() override;
    void Form_Paint(Canvas& canvas) override;

    void Option1_Click(int index);
    void Command2_Click();
    void Command1_Click(int index);

private:
    // What the main window shows of a gradient: the top of its background
    // and its lettering.
    struct Preview {
        Rgb top;
        Rgb title;
        Rgb shadow;
    };

    void showPicture();
    void apply();

    AppState& state_;
    std::function<void()> applied_;
    std::array<Preview, 4> previews_;
    std::string maingAtOpening_;
};

// Opens GAMEN modally; returns once it has closed.
void showBackgroundWindow(AppState& state, Platform& platform, std::function<void()> applied);

}  // namespace tosbel
