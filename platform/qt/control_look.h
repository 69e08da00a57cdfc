#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <cmath>
#include <optional>
#include <string>

#include "platform/form.h"

class QPainter;
class QPixmap;
class QRect;

namespace tosbel {

// How a control looks, apart from any widget: the window's widgets and a page
// drawn with a QPainter (a printed chart) take their fonts, colours and texts
// from here, so the screen and the paper agree.

// Twips to the pixels of a device (the screen, a printer page) and back.
struct TwipScale {
    double dpi = 96;
    int px(double twips) const { return static_cast<int>(std::lround(pixels(twips))); }
    double pixels(double twips) const { return twips * dpi / kTwipsPerInch; }
    float twips(double pixels) const { return static_cast<float>(pixels * kTwipsPerInch / dpi); }
};

// The forms keep their texts in UTF-8.
inline QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The object name a control, menu item or panel is found by: "Text1", or
// "Text1_3" for element 3 of an array.
QString objectNameOf(const std::string& name, int index);

QColor colour(Rgb c);
QFont fontOf(const FontSpec& f);
// The font as drawn on paper: the font's own glyph for every character.
QFont paperFont(const FontSpec& f);
Qt::Alignment horizontalAlignment(Align a);

// What the control shows: a text box its text; a label its caption without the
// access-key marks ("&&" shows as "&"); buttons, boxes and frames their caption,
// where the "&" is the widget's to underline. Captions break their lines with
// "\n" whatever the forms were saved with.
QString shownText(const Control& c);
// A caption as it reads: "&&" as "&", the single "&" of an access key gone.
QString withoutAccessKeys(const QString& s);

// A label's text starts at the top of its box, as the boxes were sized for.
Qt::Alignment labelAlignment(const Control& c);
// How much of a label's box, in twips from its top, no box or button lies
// over: a label is drawn beneath them, and where one covers the label's foot
// (the result window's seat labels) only the part above it shows.
double uncoveredHeight(const Control& label);

// The fonts standing in for the old ones are larger than those the windows'
// boxes were sized for. Text shows whole when every glyph of it, drawn from
// the top of `room` (pixels of `device`, or of the screen when none) and
// broken into lines where `wrap` allows, lies inside it. fittedFont() makes
// the font just small enough for that, never cutting a letter or leaving one
// out.
bool textShowsWhole(const QFont& font, const QString& shown, const QSizeF& room, bool wrap,
                    QPaintDevice* device = nullptr);
QFont fittedFont(const QFont& font, const QString& shown, const QSizeF& room, bool wrap,
                 QPaintDevice* device = nullptr);

// What fills the control's box: its own colour, the system's window colour for
// a text box without one, nothing for a see-through label.
std::optional<QColor> fillOf(const Control& c);
// Whether the control's box has a drawn border: always for a text box, as the
// form says for a label or image.
bool hasBorder(const Control& c);

// The control's box in the form's client area, inside any frame it sits in.
QRectF areaOf(const Control& c, TwipScale scale);

// A text box's text in `inside`: on one line when it fits or the box does not
// wrap, otherwise broken at any character into lines set close enough for two
// to fit a box of one and a half lines.
void drawBoxText(QPainter& painter, const QRectF& inside, const QString& shown, bool wrap,
                 Qt::Alignment horizontal);

// Colours a printed page gives a control in place of its own.
struct ColourOverride {
    std::optional<Rgb> fore;
    std::optional<Rgb> back;  // fills even a see-through label
};

// Draws a label or a text box as vector text: its fill, its border and its
// text with its own font and alignment. False for other kinds and for a
// control that is not visible, which draw nothing.
bool paintControl(QPainter& painter, const Control& c, TwipScale scale,
                  const ColourOverride& colours = {});

// The mark of the focused control: a dotted line of black and white dots
// round `r`, seen on any colour the forms use.
void paintFocusMark(QPainter& painter, const QRect& r);

// A picture file (BMP, JPG, GIF, PNG, ICO) the teacher may have replaced; a
// null picture when it is missing, unreadable, not an ordinary file, not a
// picture, larger than the program decodes, or broken.
QPixmap pictureFile(const std::string& path);

}  // namespace tosbel
