#pragma once

namespace tosbel {

// The forms ask for the fonts of a Japanese Windows desktop; where they are
// missing, the Japanese fonts the system has stand in (Noto CJK on Linux), or
// Latin text would fall back to a font without kana. On Windows the interface
// font of menus and status bars gets kana too.
// Needs a QGuiApplication.
void substituteWindowsFonts();

}  // namespace tosbel
