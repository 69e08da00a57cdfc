#pragma once

#include <string>

class QImage;

namespace tosbel {

// The countdown picture of a number from 1 to 10: the numeral on a white disc
// in the number's own colour, 400 × 400 pixels.
QImage countdownPicture(int number);

// The drag pictures, 32 × 32 with a see-through background: a name card for a
// name being moved ("DRAG.ICO"), a pupil for a place where nobody sits
// ("DRAG2.ICO").
QImage nameCardIcon();
QImage personIcon();

// A picture as the whole of a BMP or ICO file; empty when Qt cannot write it.
std::string bmpBytes(const QImage& image);
std::string icoBytes(const QImage& image);

}  // namespace tosbel
