#pragma once

#include <QPointer>

#include <optional>
#include <string>

class QDrag;
class QMimeData;
class QWidget;

namespace tosbel {

struct Control;

// A manual drag of a control: what it drags, the picture that follows the
// pointer, and whether a drop the windows see is this drag's.
class DragSession {
public:
    // Drags `c` from its widget; returns when it has been dropped or cancelled.
    void run(Control& c, QWidget& from);
    // The control being dragged, when the drag's data is this program's own.
    Control* sourceOf(const QMimeData* mime) const;
    Control* source() const { return source_; }
    // Counts the drags begun: a mouse press that sees it grow has started one.
    int serial() const { return serial_; }
    // Shows the source's drag icon, which a drag-over handler may have changed.
    void iconChanged();

private:
    Control* source_ = nullptr;
    QPointer<QDrag> drag_;
    std::optional<std::string> iconShown_;
    int serial_ = 0;
};

}  // namespace tosbel
