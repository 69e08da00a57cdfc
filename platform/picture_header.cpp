#include "platform/picture_header.h"

#include <algorithm>
#include <cstddef>

#include "platform/file_io.h"

namespace tosbel {

namespace {

std::uint32_t byteAt(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]);
}

// Little- and big-endian numbers at a place the caller knows is inside `b`.
std::uint32_t le16(std::string_view b, std::size_t at) {
    return byteAt(b, at) | byteAt(b, at + 1) << 8;
}
std::uint32_t le32(std::string_view b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}
std::uint32_t be16(std::string_view b, std::size_t at) {
    return byteAt(b, at) << 8 | byteAt(b, at + 1);
}
std::uint32_t be32(std::string_view b, std::size_t at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}

std::optional<PictureHeader> sized(PictureFormat format, std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    return PictureHeader{format, width, height};
}

std::optional<PictureHeader> bmp(std::string_view b) {
    if (b.size() < 26) return std::nullopt;
    const std::uint32_t infoSize = le32(b, 14);
    if (infoSize == 12)  // the old OS/2 header: 16-bit sizes
        return sized(PictureFormat::Bmp, le16(b, 18), le16(b, 20));
    if (infoSize < 16 || infoSize > 124) return std::nullopt;
    // A negative height is a picture stored from the top row down.
    const auto width = static_cast<std::int32_t>(le32(b, 18));
    const auto height = static_cast<std::int32_t>(le32(b, 22));
    return sized(PictureFormat::Bmp, width,
                 height < 0 ? -static_cast<std::int64_t>(height) : height);
}

std::optional<PictureHeader> png(std::string_view b) {
    if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
    const std::uint32_t width = be32(b, 16), height = be32(b, 20);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
    return sized(PictureFormat::Png, width, height);
}

std::optional<PictureHeader> gif(std::string_view b) {
    if (b.size() < 10) return std::nullopt;
    return sized(PictureFormat::Gif, le16(b, 6), le16(b, 8));
}

// The size is in the first frame header (SOFn); the segments before it are
// stepped over by their lengths.
std::optional<PictureHeader> jpeg(std::string_view b) {
    std::size_t at = 2;
    for (;;) {
        if (at >= b.size() || byteAt(b, at) != 0xFF) return std::nullopt;
        while (at < b.size() && byteAt(b, at) == 0xFF) ++at;  // fill bytes
        if (at >= b.size()) return std::nullopt;
        const std::uint32_t marker = byteAt(b, at++);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // the end, or data: no frame
        if (at + 2 > b.size()) return std::nullopt;
        const std::uint32_t length = be16(b, at);
        if (length < 2) return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 7 > b.size()) return std::nullopt;
            return sized(PictureFormat::Jpeg, be16(b, at + 5), be16(b, at + 3));
        }
        at += length;
    }
}

// The largest picture the icon's directory lists; 0 stands for 256.
std::optional<PictureHeader> ico(std::string_view b) {
    const std::uint32_t count = le16(b, 4);
    if (count == 0) return std::nullopt;
    std::int64_t width = 0, height = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        if (entry + 16 > b.size()) return std::nullopt;
        const std::uint32_t w = byteAt(b, entry), h = byteAt(b, entry + 1);
        width = std::max<std::int64_t>(width, w == 0 ? 256 : w);
        height = std::max<std::int64_t>(height, h == 0 ? 256 : h);
    }
    return sized(PictureFormat::Ico, width, height);
}

}  // namespace

std::optional<PictureHeader> readPictureHeader(std::string_view bytes) {
    if (bytes.starts_with("BM")) return bmp(bytes);
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return png(bytes);
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return gif(bytes);
    if (bytes.starts_with("\xFF\xD8")) return jpeg(bytes);
    if (bytes.size() >= 6 && bytes.starts_with(std::string_view("\0\0", 2)) &&
        (bytes.substr(2, 2) == std::string_view("\1\0", 2) ||
         bytes.substr(2, 2) == std::string_view("\2\0", 2)))
        return ico(bytes);
    return std::nullopt;
}

bool pictureSizeAllowed(const PictureHeader& header) {
    return header.width > 0 && header.height > 0 && header.width <= kPictureSideLimit &&
           header.height <= kPictureSideLimit && header.width * header.height <= kPicturePixelLimit;
}

std::optional<std::string> readPictureFile(const std::string& path) {
    auto bytes = readFileBytes(path, kPictureFileLimit);
    if (!bytes) return std::nullopt;
    const auto header = readPictureHeader(*bytes);
    if (!header || !pictureSizeAllowed(*header)) return std::nullopt;
    return bytes;
}

}  // namespace tosbel
