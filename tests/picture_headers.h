#pragma once

#include <string>

// The headers of pictures of a given size, nothing after them: what the
// program reads of a picture before deciding to decode it.
namespace tosbel::pictures {

inline std::string le16(unsigned v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
inline std::string le32(unsigned v) {
    return le16(v & 0xFFFF) + le16(v >> 16);
}
inline std::string be32(unsigned v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
            static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}

// A negative height is a picture stored from the top row down.
inline std::string bmp(unsigned width, int height) {
    return "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(width) +
           le32(static_cast<unsigned>(height)) + le16(1) + le16(24);
}
inline std::string png(unsigned width, unsigned height) {
    return std::string("\x89PNG\r\n\x1A\n", 8) + be32(13) + "IHDR" + be32(width) + be32(height) +
           std::string("\x08\x06\0\0\0", 5);
}
inline std::string gif(unsigned width, unsigned height) {
    return "GIF89a" + le16(width) + le16(height) + std::string(3, '\0');
}
// An application segment before the frame, as cameras write them.
inline std::string jpeg(unsigned width, unsigned height) {
    const std::string app = std::string("\xFF\xE1\x00\x08", 4) + std::string("Exif\0\0", 6);
    return std::string("\xFF\xD8", 2) + app + std::string("\xFF\xC0\x00\x11\x08", 5) +
           static_cast<char>(height >> 8) + static_cast<char>(height & 0xFF) +
           static_cast<char>(width >> 8) + static_cast<char>(width & 0xFF) +
           std::string(10, '\x01');
}
// 0 stands for 256.
inline std::string ico(unsigned char width, unsigned char height) {
    return std::string("\0\0\1\0", 4) + le16(1) + static_cast<char>(width) +
           static_cast<char>(height) + std::string(14, '\0');
}

}  // namespace tosbel::pictures
