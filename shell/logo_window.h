#pragma once

#include <array>

#include "platform/form.h"

namespace tosbel {

// INITDISP, the title card shown while the program starts; it closes itself
// after five seconds.
class LogoWindow final : public Form {
public:
    explicit LogoWindow(Platform& platform);

    Label Label2;  // shadow of "Tosbel"
    Label Label4;  // shadow of "君"
    Label Label1;  // "Tosbel"
    Label Label3;  // "君"
    Label Label5;  // "Ver.1.5.1"
    Label Label6;  // "for  Windows 98/Me/NT/2000/XP"
    std::array<Line, 2> Line1;
    Timer Timer1;

    void Form_Paint(Canvas& canvas) override;
};

}  // namespace tosbel
