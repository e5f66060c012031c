// BMP Suite under Wine: every line of expect.tsv through the Win32 file
// loader, and every valid image drawn opaque gives exactly its reference.
#include "dib/Dib.h"
#include "settings/XVuk.h"

#include "../support/BmpBuilder.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

TEST(BmpSuiteUnderWine, EveryLineOfExpectTsv)
{
    const std::string suite = TestDataDir() + "/bmpsuite/";
    std::ifstream in(suite + "expect.tsv");
    ASSERT_TRUE(in.good()) << suite;
    std::string line;
    int lines = 0, drawn = 0;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        ++lines;
        const size_t tab = line.find('\t');
        const std::string file = line.substr(0, tab);
        const std::string rest = line.substr(tab + 1);
        const size_t space = rest.find(' ');
        const std::string verdict = rest.substr(0, space);
        const std::string detail = space == std::string::npos ? "" : rest.substr(space + 1);
        SCOPED_TRACE(file);

        CDib dib(false);
        std::string message;
        try {
            dib.LoadFromFile(suite + file);
        } catch (const XVuk& e) {
            message = e.GetMessageText();
        }
        if (verdict == "refused") {
            EXPECT_EQ(detail, message);
            continue;
        }
        if (verdict == "no-crash") {
            if (dib.m_bLoaded) { // whatever it holds draws without trouble
                TestCanvas canvas(dib.m_nWidth, dib.m_nHeight);
                dib.Draw(canvas.Dc(), 0, 0);
            }
            continue;
        }
        ASSERT_EQ("", message);
        const bmptest::RgbPicture reference = bmptest::ReadReference24(suite + "ref/" + detail + ".bmp");
        ASSERT_EQ(reference.width, dib.m_nWidth);
        ASSERT_EQ(reference.height, dib.m_nHeight);
        TestCanvas canvas(reference.width + 4, reference.height + 4);
        canvas.Fill(RGB(1, 2, 3));
        dib.Draw(canvas.Dc(), 2, 2);
        int wrong = 0;
        for (int y = 0; y < reference.height; ++y) {
            for (int x = 0; x < reference.width; ++x) {
                const bmptest::Rgb want = reference.At(x, y);
                if (canvas.At(x + 2, y + 2) != RGB(want.r, want.g, want.b))
                    ++wrong;
            }
        }
        EXPECT_EQ(0, wrong) << "pixels differing from ref/" << detail;
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(1, 1));
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(reference.width + 2, reference.height + 2));
        ++drawn;
    }
    EXPECT_EQ(90, lines);
    EXPECT_EQ(17, drawn);
}
