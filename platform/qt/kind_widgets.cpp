#include "platform/qt/kind_widgets.h"

namespace tosbel {

void markFocus(QWidget& w, const QRect& area) {
    if (!w.hasFocus()) return;
    QPainter p(&w);
    paintFocusMark(p, area);
}

QRect toggleFocusArea(const QAbstractButton& b, const QStyleOptionButton& option,
                      QStyle::SubElement box, QStyle::SubElement caption) {
    const QStyle* style = b.style();
    const QRect area = b.text().isEmpty()
                           ? style->subElementRect(box, &option, &b).adjusted(-2, -2, 2, 2)
                           : style->subElementRect(caption, &option, &b);
    return area & b.rect();
}

}  // namespace tosbel
