// The banner the classic dialog carries in its constant data: the bytes in
// src/classic/BannerImage.cpp are those of resources/art/banner.bmp, and
// they load as the dialog needs them.
#include "dib/Dib.h"

#include "../support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kRoot = std::string(MODAVI_TESTDATA) + "/../..";

// The hex bytes of the array in the generated source.
std::vector<uint8_t> BytesOfGeneratedSource()
{
    std::ifstream in(kRoot + "/src/classic/BannerImage.cpp");
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    std::vector<uint8_t> bytes;
    size_t at = source.find('{');
    while ((at = source.find("0x", at)) != std::string::npos) {
        bytes.push_back(uint8_t(std::strtoul(source.substr(at + 2, 2).c_str(), nullptr, 16)));
        at += 4;
    }
    return bytes;
}

} // namespace

TEST(Banner, GeneratedSourceHoldsTheBannerFile)
{
    const std::vector<uint8_t> file = bmptest::ReadBytes(kRoot + "/resources/art/banner.bmp");
    ASSERT_EQ(5578u, file.size());
    EXPECT_EQ(file, BytesOfGeneratedSource());
}

TEST(Banner, LoadsAsAPictureWithAGreenKey)
{
    const std::vector<uint8_t> bytes = BytesOfGeneratedSource();
    CDib banner(true);
    banner.LoadFromFileImage(bytes.data()); // the form the dialog uses: length from the image
    EXPECT_EQ(180, banner.m_nWidth);
    EXPECT_EQ(25, banner.m_nHeight);
    EXPECT_EQ(8, banner.GetBitsPerPixel());
    EXPECT_EQ(256u, banner.GetColorCount());
    EXPECT_EQ((RgbColor{0, 255, 0}), banner.GetImage()->PixelColor(0, 24)); // top-left
    int green = 0;
    for (int32_t row = 0; row < 25; ++row)
        for (int32_t x = 0; x < 180; ++x)
            green += banner.GetImage()->PixelColor(x, row) == RgbColor{0, 255, 0};
    EXPECT_GT(green, 180 * 25 / 2) << "green background around the wordmark";
    EXPECT_LT(green, 180 * 25 - 200) << "a wordmark is there";
}
