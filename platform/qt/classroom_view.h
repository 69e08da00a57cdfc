#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <vector>

#include "platform/classroom_chart.h"

class QEventLoop;
class QScreen;

namespace tosbel {

// Where the classroom chart's parts stand on a screen of `size` pixels: the
// band at the top, the desk in its middle, and the seats from the first to
// the last row and column anyone sits in, row A nearest the band. A chart
// with nobody in it shows every seat.
struct ClassroomLayout {
    QRectF board, desk;
    int firstRow = 0, rows = 10, firstColumn = 0, columns = 10;
    struct Seat {
        int index;  // 0 … 99
        QRectF label, box;
    };
    std::vector<Seat> seats;
};
ClassroomLayout layClassroom(const ClassroomChart& chart, QSizeF size);

// The chart filling one screen for the whole class to read, drawn at the
// screen's own resolution: names as vector text, all at the one size the
// longest allows, breaking onto a second line where that makes them larger.
class ClassroomView final : public QWidget {
public:
    explicit ClassroomView(ClassroomChart chart);
    ~ClassroomView() override;
    ClassroomView(const ClassroomView&) = delete;
    ClassroomView& operator=(const ClassroomView&) = delete;

    // Fills the chart's screen (the primary when there is no such screen)
    // and returns when Escape, a click on it or on another of the program's
    // windows, or the screen going away has closed it.
    void run();

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool isOwn(const QObject* o) const;

    ClassroomChart chart_;
    QPointer<QScreen> screen_;
    QEventLoop* loop_ = nullptr;
    bool pressed_ = false;
};

}  // namespace tosbel
