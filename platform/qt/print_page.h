#pragma once

#include <string>

#include "platform/printed_page.h"
#include "platform/qt/control_look.h"

class QPainter;
class QPrinter;

namespace tosbel {

// Draws the page with its top left at the painter's origin, `scale` being the
// device's resolution, so a twip is 1/1440 inch there: the client area filled
// with the page's background, the printed labels and text boxes as vector
// text in their paper colours, then the status bar's panels when the page
// asks for them. Nothing outside the client area is drawn.
void paintPrintedPage(QPainter& painter, const PrintedPage& page, TwipScale scale);

// Prints `copies` sheets of the page on `printer` in landscape, each a page
// of its own, from the top left of the printable area; the printer is turned
// back to portrait afterwards. False when the printer or its file failed.
// A PDF file is written whole or not at all, and made to read as the names
// drawn (see print_page.cpp).
bool printTo(QPrinter& printer, const PrintedPage& page, int copies);

// Draws the page once on the printer the print preview hands over: its own
// preview, or the printer itself when the teacher prints from the preview.
// False when that print failed.
bool paintRequested(QPrinter& target, const PrintedPage& page);

// The PDF file the printer writes, or the empty text for a printer of paper.
std::string pdfFileOf(const QPrinter& printer);

}  // namespace tosbel
