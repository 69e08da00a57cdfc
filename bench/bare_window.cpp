// The yardstick for the start-up benchmark: an empty window of the main
// window's size, shown and painted once, the least any Qt program pays.
#include <QApplication>
#include <QWidget>

#include "platform/qt/first_paint_exit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("bare"));
    window.resize(800, 600);  // 12000 × 9000 twips at 15 twips to a pixel
    tosbel::exitAfterFirstPaintWhenAsked(window.objectName());
    window.show();
    return QApplication::exec();
}
