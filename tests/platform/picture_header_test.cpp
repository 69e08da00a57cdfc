#include "platform/picture_header.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/picture_headers.h"
#include "tests/posix_only.h"
#include "tests/temp_dir.h"

namespace tosbel {
namespace {

using namespace pictures;

TEST(PictureHeader, EachKindGivesItsSizeAndATruncatedHeaderNone) {
    struct Case {
        std::string bytes;
        PictureFormat format;
        std::int64_t width, height;
        std::size_t needed;  // the bytes up to the end of the size
    };
    const Case cases[] = {{bmp(640, 480), PictureFormat::Bmp, 640, 480, 26},
                          {bmp(640, -480), PictureFormat::Bmp, 640, 480, 26},  // stored top down
                          {png(2100, 2100), PictureFormat::Png, 2100, 2100, 24},
                          {gif(32, 16), PictureFormat::Gif, 32, 16, 10},
                          {jpeg(4000, 3000), PictureFormat::Jpeg, 4000, 3000, 21},
                          {ico(0, 0), PictureFormat::Ico, 256, 256, 22}};
    for (const Case& c : cases) {
        const auto header = readPictureHeader(c.bytes.substr(0, c.needed));
        ASSERT_TRUE(header) << c.bytes.substr(0, 4);
        EXPECT_EQ(header->format, c.format);
        EXPECT_EQ(header->width, c.width);
        EXPECT_EQ(header->height, c.height);
        for (std::size_t cut = 0; cut < c.needed; ++cut)
            EXPECT_FALSE(readPictureHeader(c.bytes.substr(0, cut)))
                << c.bytes.substr(0, 4) << " cut at " << cut;
    }
    for (const std::string& other :
         {std::string("名簿"), png(0, 5), gif(5, 0), bmp(0, 1), std::string("\xFF\xD8\xFF\xD9", 4)})
        EXPECT_FALSE(readPictureHeader(other)) << other;
}

TEST(PictureHeader, AFewBytesThatClaimMorePixelsThanMemoryAreRefused) {
    EXPECT_TRUE(pictureSizeAllowed(*readPictureHeader(jpeg(8000, 6000))));  // a phone's photo
    for (const std::string& bomb :
         {png(30000, 30000), bmp(60000, 60000), png(16385, 1), png(0x7FFFFFFF, 0x7FFFFFFF)})
        EXPECT_FALSE(pictureSizeAllowed(*readPictureHeader(bomb))) << bomb.size();

    TOSBEL_POSIX_ONLY("named pipes");
    TempDir dir;
    spit(dir.at("ok.png"), png(32, 32));
    spit(dir.at("bomb.png"), png(30000, 30000));
    EXPECT_TRUE(pictureFileAllowed(dir.file("ok.png")));
    EXPECT_FALSE(pictureFileAllowed(dir.file("bomb.png")));
    ASSERT_TRUE(makeFifo(dir.file("pipe.png")));
    EXPECT_FALSE(pictureFileAllowed(dir.file("pipe.png")));
}

}  // namespace
}  // namespace tosbel
