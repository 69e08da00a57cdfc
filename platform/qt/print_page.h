#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/printed_page.h"
#include "platform/qt/control_look.h"

class QPainter;
class QPrinter;

namespace tosbel {

// Draws the page with its top left at the painter's origin, `scale` being the
// device's resolution, so a twip is 1/1440 inch there, and the device's
// size the printable area. A true-size page: the client area filled with the
// page's background, the printed labels and text boxes as vector text in
// their paper colours at their paper places, then the status bar's panels
// when the page asks for them; nothing outside the client area is drawn. A
// page that fills the paper: the heading, the controls scaled and centred,
// the status bar at the foot (see PageFit).
void paintPrintedPage(QPainter& painter, const PrintedPage& page, TwipScale scale);

// Prints `copies` sets of the pages on `printer` in landscape, each page a
// sheet of its own, from the top left of the printable area; the printer is
// turned back to portrait afterwards. False when the printer or its file
// failed. A PDF file is written whole or not at all, and made to read as the
// names drawn (see print_page.cpp).
bool printTo(QPrinter& printer, const std::vector<PrintedPage>& pages, int copies);
inline bool printTo(QPrinter& printer, const PrintedPage& page, int copies) {
    return printTo(printer, std::vector<PrintedPage>{page}, copies);
}

// Draws the pages once on the printer the print preview hands over: its own
// preview, or the printer itself when the teacher prints from the preview.
// False when that print failed.
bool paintRequested(QPrinter& target, const std::vector<PrintedPage>& pages);

// The page's printed controls as a PNG file's bytes, cut round them with a
// small margin, at twice the pixels of a 96 dpi screen; none when the picture
// could not be made.
std::optional<std::string> pictureOfPage(const PrintedPage& page);

// The PDF file the printer writes, or the empty text for a printer of paper.
std::string pdfFileOf(const QPrinter& printer);

}  // namespace tosbel
