// The yardstick for the start-up benchmark: a window of the main window's size
// with one line of Japanese in the main window's own font, shown and painted
// once. Any Qt program that shows Japanese pays this much; what the program
// costs beyond it is its own.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include "platform/qt/first_paint.h"
#include "platform/qt/font_substitutes.h"

int main(int argc, char** argv) {
    tosbel::startupMark("main");
    QApplication app(argc, argv);
    tosbel::startupMark("Qt application");
    tosbel::substituteWindowsFonts();
    tosbel::startupMark("fonts");

    QWidget window;
    window.setObjectName(QStringLiteral("bare"));
    window.resize(800, 600);  // 12000 × 9000 twips at 15 twips to a pixel
    // The default font of every form: ＭＳ Ｐゴシック, 9 points.
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(9);
    QLabel label(QStringLiteral("名簿を開いて下さい"), &window);
    label.setFont(font);
    label.move(8, 8);
    tosbel::exitAfterFirstPaintWhenAsked(window.objectName());
    window.show();
    return QApplication::exec();
}
