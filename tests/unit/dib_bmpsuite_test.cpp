// Every line of BMP Suite's expect.tsv through CDib::LoadFromFile: valid
// images give exactly the reference pixels, refused ones the right message,
// and nothing makes the loader crash or read outside its bytes.
#include "dib/Dib.h"
#include "settings/XVuk.h"

#include "../support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kSuite = std::string(MODAVI_TESTDATA) + "/bmpsuite/";

struct Expectation {
    std::string file;
    std::string verdict; // loads, refused, no-crash
    std::string detail;  // reference name or message
};

std::vector<Expectation> ReadExpectations()
{
    std::vector<Expectation> lines;
    std::ifstream in(kSuite + "expect.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        Expectation e;
        const size_t tab = line.find('\t');
        e.file = line.substr(0, tab);
        const std::string rest = tab == std::string::npos ? "" : line.substr(tab + 1);
        const size_t space = rest.find(' ');
        e.verdict = rest.substr(0, space);
        e.detail = space == std::string::npos ? "" : rest.substr(space + 1);
        lines.push_back(e);
    }
    return lines;
}

std::set<std::string> BmpFilesIn(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = opendir((kSuite + folder).c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".bmp")
                names.insert(folder + "/" + name);
        }
        closedir(dir);
    }
    return names;
}

} // namespace

TEST(BmpSuite, ExpectationsCoverEveryImageOfTheSuite)
{
    const std::vector<Expectation> lines = ReadExpectations();
    ASSERT_EQ(90u, lines.size());
    std::set<std::string> listed;
    for (const Expectation& e : lines) {
        listed.insert(e.file);
        EXPECT_TRUE(e.verdict == "loads" || e.verdict == "refused" || e.verdict == "no-crash") << e.file;
    }
    for (const char* folder : {"g", "q", "b"})
        for (const std::string& file : BmpFilesIn(folder))
            EXPECT_EQ(1u, listed.count(file)) << file << " has no line in expect.tsv";
}

TEST(BmpSuite, EveryImageDoesWhatExpectTsvSays)
{
    int loads = 0, refused = 0, survived = 0;
    for (const Expectation& e : ReadExpectations()) {
        SCOPED_TRACE(e.file);
        CDib dib(false);
        std::string message;
        try {
            dib.LoadFromFile(kSuite + e.file);
        } catch (const XVuk& error) {
            message = error.GetMessageText();
        }
        if (e.verdict == "loads") {
            ASSERT_EQ("", message);
            ASSERT_TRUE(dib.m_bLoaded);
            const bmptest::RgbPicture reference = bmptest::ReadReference24(kSuite + "ref/" + e.detail + ".bmp");
            ASSERT_GT(reference.width, 0) << "reference " << e.detail;
            ASSERT_EQ(reference.width, dib.m_nWidth);
            ASSERT_EQ(reference.height, dib.m_nHeight);
            const DibImage& image = *dib.GetImage();
            int wrong = 0;
            for (int32_t y = 0; y < reference.height; ++y) {
                for (int32_t x = 0; x < reference.width; ++x) {
                    const RgbColor got = image.PixelColor(x, dib.m_nHeight - 1 - y);
                    const bmptest::Rgb want = reference.At(x, y);
                    if (got.red != want.r || got.green != want.g || got.blue != want.b)
                        ++wrong;
                }
            }
            EXPECT_EQ(0, wrong) << "pixels differing from ref/" << e.detail;
            ++loads;
        } else if (e.verdict == "refused") {
            EXPECT_EQ(e.detail, message);
            EXPECT_FALSE(dib.m_bLoaded);
            EXPECT_EQ(nullptr, dib.GetImage());
            ++refused;
        } else {
            // Either outcome is fine; a loaded image is a sound one.
            if (dib.m_bLoaded) {
                EXPECT_GT(dib.m_nWidth, 0);
                EXPECT_GT(dib.m_nHeight, 0);
            } else {
                EXPECT_NE("", message);
            }
            ++survived;
        }
    }
    EXPECT_EQ(17, loads);
    EXPECT_EQ(10, refused);
    EXPECT_EQ(63, survived);
}
