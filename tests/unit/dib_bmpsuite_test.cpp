// Every line of BMP Suite's expect.tsv through CDib::LoadFromFile: valid
// images give exactly the reference pixels, refused ones the right message,
// and nothing makes the loader crash or read outside its bytes (ASan).
#include "dib/Dib.h"

#include "../support/BmpBuilder.h"
#include "../support/ErrorText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

TEST(BmpSuite, EveryImageDoesWhatExpectTsvSays)
{
    const std::string suite = std::string(MODAVI_TESTDATA) + "/bmpsuite/";
    std::ifstream in(suite + "expect.tsv");
    std::string line;
    int lines = 0, loads = 0;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        ++lines;
        const size_t tab = line.find('\t'), space = line.find(' ', tab);
        const std::string file = line.substr(0, tab);
        const std::string verdict = line.substr(tab + 1, space == std::string::npos ? std::string::npos : space - tab - 1);
        const std::string detail = space == std::string::npos ? "" : line.substr(space + 1);
        SCOPED_TRACE(file);
        CDib dib(false);
        const std::string message = ErrorText([&] { dib.LoadFromFile(suite + file); });
        if (verdict == "refused") {
            EXPECT_EQ(detail, message);
            EXPECT_EQ(nullptr, dib.GetImage());
        } else if (verdict == "no-crash") {
            EXPECT_NE(dib.m_bLoaded, !message.empty()); // either outcome, said honestly
        } else {
            ASSERT_EQ("", message);
            const bmptest::RgbPicture reference = bmptest::ReadReference24(suite + "ref/" + detail + ".bmp");
            ASSERT_EQ(reference.width, dib.m_nWidth);
            ASSERT_EQ(reference.height, dib.m_nHeight);
            int wrong = 0;
            for (int32_t y = 0; y < reference.height; ++y)
                for (int32_t x = 0; x < reference.width; ++x) {
                    const RgbColor got = dib.GetImage()->PixelColor(x, dib.m_nHeight - 1 - y);
                    const bmptest::Rgb want = reference.At(x, y);
                    wrong += got.red != want.r || got.green != want.g || got.blue != want.b;
                }
            EXPECT_EQ(0, wrong) << "pixels differing from ref/" << detail;
            ++loads;
        }
    }
    EXPECT_EQ(90, lines);
    EXPECT_EQ(17, loads);
}
