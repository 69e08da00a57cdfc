#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tosbel {

enum class PictureFormat { Bmp, Jpeg, Gif, Png, Ico };

// What a picture file says of itself before anything is decoded.
struct PictureHeader {
    PictureFormat format = PictureFormat::Bmp;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The format and the size in pixels a picture file's header claims, or none
// for bytes that are no picture of a kind the program shows (BMP, JPEG, GIF,
// PNG, ICO) or whose header is cut short. Nothing past the header is read.
std::optional<PictureHeader> readPictureHeader(std::string_view bytes);

// A picture larger than this is never decoded: a file of a few kilobytes can
// claim billions of pixels, and decoding it would take all memory. A teacher's
// photograph (48 million pixels from today's phones) is still taken.
inline constexpr std::int64_t kPicturePixelLimit = 50'000'000;
inline constexpr std::int64_t kPictureSideLimit = 16'384;

// The header names a size the program will decode.
bool pictureSizeAllowed(const PictureHeader& header);

// A picture file is read whole to be shown; one larger than this on disk is
// no picture the program shows.
inline constexpr std::size_t kPictureFileLimit = 32 * 1024 * 1024;

// The bytes of an ordinary file of at most kPictureFileLimit whose header
// names a picture of an allowed size; none otherwise. Nothing is decoded.
std::optional<std::string> readPictureFile(const std::string& path);
inline bool pictureFileAllowed(const std::string& path) {
    return readPictureFile(path).has_value();
}

}  // namespace tosbel
