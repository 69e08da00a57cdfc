#pragma once

namespace tosbel {

// The forms ask for the fonts of a Japanese Windows desktop; elsewhere the Noto
// CJK fonts stand in, or Latin text would fall back to a font without kana.
// Needs a QGuiApplication.
void substituteWindowsFonts();

}  // namespace tosbel
