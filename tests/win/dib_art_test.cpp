// The program's art as the program loads it: sizes, depths, key colours,
// lamps, the places the skin leaves plain, the banner, the logo
// files and every icon group. Also draws a contact sheet of all of it,
// including the skin recoloured with a few settings, into the screenshots
// folder (build/screenshots/art-contact-sheet.png).
#include "dib/Dib.h"
#include "dib/OctalPalette.h"
#include "dib/Palette.h"
#include "settings/ResourceIds.h"
#include "settings/XVuk.h"

#include "../support/TestCanvas.h"
#include "dib_png.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kMarker = RGB(1, 99, 200);
constexpr COLORREF kDialogFace = RGB(240, 240, 240);

std::string RepoPath(const std::string& relative)
{
    std::string data = TestDataDir(); // <repository>/tests/data
    return data.substr(0, data.size() - std::string("/tests/data").size()) + "/" + relative;
}

std::unique_ptr<CDib> Resource(uint16_t id, bool transparent, int hue = -1, int sat = 0)
{
    auto dib = std::make_unique<CDib>(transparent);
    if (hue >= 0) {
        dib->m_bRecolor = true;
        dib->m_nHue = uint8_t(hue);
        dib->m_nSat = uint8_t(sat);
    }
    dib->LoadFromResource(id);
    return dib;
}

RgbColor Pixel(const CDib& dib, int x, int y)
{
    return dib.GetImage()->PixelColor(x, dib.m_nHeight - 1 - y);
}

// Draws the part transparently on a marker-coloured canvas; counts the
// pixels that show the marker.
int MarkerPixels(const CDib& dib, int sx, int sy, int w, int h, TestCanvas& canvas)
{
    canvas.Fill(kMarker);
    dib.Draw(canvas.Dc(), 0, 0, sx, sy, w, h);
    int count = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            count += canvas.At(x, y) == kMarker;
    return count;
}

} // namespace

TEST(Art, SkinBitmapsHaveTheirSizesAndDepths)
{
    struct Expected {
        uint16_t id;
        int width, height;
        uint32_t colors;
    };
    for (const Expected& e : {Expected{IDB_SKIN_BACKGROUND, 388, 263, 256}, Expected{IDB_SKIN_BUTTONS, 120, 100, 256},
                              Expected{IDB_SKIN_LIGHTS, 18, 75, 256}, Expected{IDB_SKIN_TITLEBAR, 331, 20, 236}}) {
        SCOPED_TRACE(e.id);
        const std::unique_ptr<CDib> dib = Resource(e.id, false);
        EXPECT_EQ(e.width, dib->m_nWidth);
        EXPECT_EQ(e.height, dib->m_nHeight);
        EXPECT_EQ(8, dib->GetBitsPerPixel());
        EXPECT_EQ(e.colors, dib->GetColorCount());
        ASSERT_NE(nullptr, dib->m_pPalette);
        EXPECT_EQ(e.colors, dib->m_pPalette->GetEntries().size());
    }
}

TEST(Art, BackgroundAndTitleBarAreDesignedInGreys)
{
    for (uint16_t id : {IDB_SKIN_BACKGROUND, IDB_SKIN_TITLEBAR}) {
        const std::unique_ptr<CDib> dib = Resource(id, false);
        for (uint32_t i = 0; i < dib->GetColorCount(); ++i) {
            const RgbColor c = dib->GetImage()->TableColor(i);
            EXPECT_TRUE(c.red == c.green && c.green == c.blue) << id << " entry " << i;
        }
    }
}

TEST(Art, BackgroundLeavesThePanelBarsAndLightPlain)
{
    const std::unique_ptr<CDib> bg = Resource(IDB_SKIN_BACKGROUND, false);
    int lit = 0;
    for (int y = 53; y < 189; ++y)
        for (int x = 27; x < 359; ++x)
            lit += Pixel(*bg, x, y) != RgbColor{0, 0, 0};
    EXPECT_EQ(0, lit) << "the text panel is painted black over the background";
    int bright = 0;
    for (int y = 204; y < 240; ++y)
        for (int x = 275; x < 361; ++x)
            bright += Pixel(*bg, x, y).red > 60;
    EXPECT_EQ(0, bright) << "segments and gaps of the bars sit on a dark bed";
    for (int y = 205; y < 216; ++y)
        for (int x = 247; x < 258; ++x)
            EXPECT_LT(Pixel(*bg, x, y).red, 80) << x << "," << y << ": the light's socket";
}

TEST(Art, ButtonStripHasAKeyAtEveryImageAlsoWhenRecoloured)
{
    struct Column {
        int x, side;
    };
    for (int hue : {-1, 140, 0, 20}) {
        SCOPED_TRACE(hue);
        const std::unique_ptr<CDib> strip = Resource(IDB_SKIN_BUTTONS, true, hue, hue == 0 ? 0 : 90);
        TestCanvas canvas(18, 18);
        for (const Column& c : {Column{0, 18}, Column{30, 18}, Column{60, 17}, Column{90, 17}}) {
            for (int state = 0; state < 4; ++state) {
                if (hue < 0) {
                    EXPECT_EQ((RgbColor{255, 0, 255}), Pixel(*strip, c.x, state * 25)) << c.x << "/" << state;
                }
                const int shown = MarkerPixels(*strip, c.x, state * 25, c.side, c.side, canvas);
                // Only the rounded corners let the background through.
                EXPECT_GE(shown, 4) << c.x << "/" << state;
                EXPECT_LE(shown, 24) << c.x << "/" << state;
                EXPECT_EQ(kMarker, canvas.At(0, 0));
                EXPECT_NE(kMarker, canvas.At(c.side / 2, c.side / 2));
            }
        }
    }
}

TEST(Art, LightsHoldThreeLampsWithTheirKeys)
{
    const std::unique_ptr<CDib> lights = Resource(IDB_SKIN_LIGHTS, true);
    TestCanvas canvas(11, 11);
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ((RgbColor{255, 0, 255}), Pixel(*lights, 1, 25 * n));
        const int shown = MarkerPixels(*lights, 1, 25 * n, 11, 11, canvas);
        EXPECT_GE(shown, 4);
        EXPECT_LE(shown, 40);
        const COLORREF centre = canvas.At(6, 6);
        const int r = GetRValue(centre), g = GetGValue(centre), b = GetBValue(centre);
        const bool right = n == 0 ? g > r + 40 && g > b + 40 : n == 1 ? r > b + 60 && g > b + 30 : r > g + 60 && r > b + 60;
        EXPECT_TRUE(right) << "lamp " << n << " (green, amber, red): " << TestCanvas::Text(centre);
    }
}

TEST(Art, BannerShowsOnlyItsWordmarkOnTheDialog)
{
    // src/classic/BannerImage.cpp holds these bytes (checked by the host tests).
    CDib banner(true);
    banner.LoadFromFile(RepoPath("resources/art/banner.bmp"));
    EXPECT_EQ(180, banner.m_nWidth);
    EXPECT_EQ(25, banner.m_nHeight);
    EXPECT_EQ(8, banner.GetBitsPerPixel());
    EXPECT_EQ(256u, banner.GetColorCount());
    EXPECT_EQ((RgbColor{0, 255, 0}), Pixel(banner, 0, 0));

    TestCanvas canvas(180, 25);
    canvas.Fill(kDialogFace);
    banner.Draw(canvas.Dc(), 0, 0);
    int drawn = 0;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 180; ++x) {
            const COLORREF c = canvas.At(x, y);
            EXPECT_NE(RGB(0, 255, 0), c) << "no key green shows on the dialog";
            drawn += c != kDialogFace;
        }
    }
    EXPECT_GT(drawn, 200) << "a wordmark is there";
}

TEST(Art, LogoFilesLoadAndFitTheirPlaces)
{
    CDib classic(true), skin(true);
    classic.LoadFromFile(RepoPath("resources/dist/LogoClas.bmp"));
    skin.LoadFromFile(RepoPath("resources/dist/LogoSkin.bmp"));
    EXPECT_LE(classic.m_nHeight, 60);
    EXPECT_LE(classic.m_nWidth, 300);
    // The skin draws it at x 18, y (53 - h) / 2, left of the minimise button at x 332.
    EXPECT_LE(skin.m_nHeight, 48);
    EXPECT_LT(18 + skin.m_nWidth, 330);
    for (CDib* logo : {&classic, &skin}) {
        TestCanvas canvas(logo->m_nWidth, logo->m_nHeight);
        canvas.Fill(kMarker);
        logo->Draw(canvas.Dc(), 0, 0);
        EXPECT_EQ(kMarker, canvas.At(0, 0)) << "the key is the top-left pixel";
        EXPECT_NE(kMarker, canvas.At(logo->m_nHeight / 2, logo->m_nHeight / 2)) << "the brand tile is drawn";
    }
}

TEST(Art, EveryIconGroupHasItsThreeSizes)
{
    std::vector<int> ids = {IDI_PROGRAM};
    for (int id = IDI_PAGE_IDLE; id <= IDI_TRAY_DOWN; ++id)
        ids.push_back(id);
    for (int id : ids) {
        for (int size : {16, 32, 48}) {
            HICON icon = static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(nullptr, icon) << id << " at " << size;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bitmap = {};
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(size, bitmap.bmWidth) << id;
            EXPECT_EQ(32, bitmap.bmBitsPixel) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(Art, TheSkinsEightPicturesShareOnePalette)
{
    std::vector<std::unique_ptr<CDib>> images;
    images.push_back(Resource(IDB_SKIN_BACKGROUND, false, 140, 90));
    images.push_back(Resource(IDB_SKIN_LIGHTS, true));
    images.push_back(Resource(IDB_SKIN_TITLEBAR, false, 140, 120));
    images.push_back(std::make_unique<CDib>(true));
    images.back()->LoadFromFile(RepoPath("resources/dist/LogoSkin.bmp"));
    for (int i = 0; i < 4; ++i)
        images.push_back(Resource(IDB_SKIN_BUTTONS, true));
    std::vector<CDib*> list;
    for (auto& image : images)
        list.push_back(image.get());
    std::unique_ptr<CPalette> palette = CreateOctalPalette(list);
    ASSERT_NE(nullptr, palette);
    EXPECT_GT(palette->GetEntries().size(), 100u);
    EXPECT_LE(palette->GetEntries().size(), 236u);
}

// ---- Contact sheet ---------------------------------------------------------

namespace {

constexpr COLORREF kSheetGrey = RGB(232, 233, 235);

class Sheet {
public:
    Sheet(int width, int height) : m_canvas(width, height)
    {
        m_canvas.Fill(kSheetGrey);
        SetBkMode(m_canvas.Dc(), TRANSPARENT);
        m_font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        m_oldFont = SelectObject(m_canvas.Dc(), m_font);
    }
    ~Sheet()
    {
        SelectObject(m_canvas.Dc(), m_oldFont);
        DeleteObject(m_font);
    }
    HDC Dc() const { return m_canvas.Dc(); }
    TestCanvas& Canvas() { return m_canvas; }

    void Label(int x, int y, const std::string& text, COLORREF color = RGB(60, 64, 70))
    {
        SetTextColor(Dc(), color);
        TextOutA(Dc(), x, y, text.c_str(), int(text.size()));
    }
    void Fill(int x, int y, int w, int h, COLORREF color)
    {
        HBRUSH brush = CreateSolidBrush(color);
        RECT r = {x, y, x + w, y + h};
        FillRect(Dc(), &r, brush);
        DeleteObject(brush);
    }
    // A picture drawn opaque at `scale` times its size.
    void Scaled(const CDib& dib, int x, int y, int scale)
    {
        TestCanvas tmp(dib.m_nWidth, dib.m_nHeight);
        dib.Draw(tmp.Dc(), 0, 0);
        StretchBlt(Dc(), x, y, dib.m_nWidth * scale, dib.m_nHeight * scale, tmp.Dc(), 0, 0, dib.m_nWidth,
                   dib.m_nHeight, SRCCOPY);
    }
    bool Save(const std::string& path)
    {
        std::vector<uint8_t> rgb;
        rgb.reserve(size_t(m_canvas.Width()) * m_canvas.Height() * 3);
        for (int y = 0; y < m_canvas.Height(); ++y) {
            for (int x = 0; x < m_canvas.Width(); ++x) {
                const COLORREF c = m_canvas.At(x, y);
                rgb.push_back(GetRValue(c));
                rgb.push_back(GetGValue(c));
                rgb.push_back(GetBValue(c));
            }
        }
        return png::WriteRgb(path, m_canvas.Width(), m_canvas.Height(), rgb);
    }

private:
    TestCanvas m_canvas;
    HFONT m_font;
    HGDIOBJ m_oldFont;
};

struct SkinLook {
    int hue, sat, titleHue, titleSat;
    int light; // 0 connected, 1 unreadable, 2 not connected
    const char* caption;
};

// The skin's pictures where the window puts them, recoloured as a look asks
// (the window itself, with texts and bars, is in the end-to-end screenshots).
void DrawSkin(HDC dc, int ox, int oy, const SkinLook& look)
{
    Resource(IDB_SKIN_BACKGROUND, false, look.hue, look.sat)->Draw(dc, ox, oy);
    CDib logo(true);
    logo.LoadFromFile(RepoPath("resources/dist/LogoSkin.bmp"));
    logo.Draw(dc, ox + 18, oy + (53 - logo.m_nHeight) / 2);
    Resource(IDB_SKIN_TITLEBAR, false, look.titleHue, look.titleSat)->Draw(dc, ox + 27, oy + 53);
    const std::unique_ptr<CDib> strip = Resource(IDB_SKIN_BUTTONS, true);
    strip->Draw(dc, ox + 25, oy + 200, 30, 2 * 25, 18, 18); // previous, disabled
    strip->Draw(dc, ox + 54, oy + 200, 0, 0, 18, 18);       // next
    strip->Draw(dc, ox + 332, oy + 19, 90, 0, 17, 17);      // minimise
    strip->Draw(dc, ox + 352, oy + 19, 60, 0, 17, 17);      // close
    Resource(IDB_SKIN_LIGHTS, true)->Draw(dc, ox + 247, oy + 205, 1, 25 * look.light, 11, 11);
}

std::string ScreenshotFolder()
{
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("MODAVI_SCREENSHOTS", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer)
        return buffer;
    GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string folder = buffer;
    folder = folder.substr(0, folder.find_last_of("\\/")); // .../win/tests
    return folder + "\\..\\..\\screenshots";
}

} // namespace

TEST(Art, ContactSheet)
{
    Sheet sheet(1290, 890);
    const SkinLook looks[] = {
        {140, 90, 140, 120, 0, "skin, Modavi.ini's colours: Hue 140 Sat 90, title bar 140/120"},
        {0, 0, 0, 0, 2, "Hue 0 Sat 0 (greys), not connected"},
        {20, 110, 20, 140, 1, "Hue 20 Sat 110, state unreadable"},
    };
    for (int i = 0; i < 3; ++i) {
        sheet.Label(20 + i * 408, 10, looks[i].caption);
        DrawSkin(sheet.Dc(), 20 + i * 408, 30, looks[i]);
        // The background covers the look's place: nothing of the sheet's grey is left there.
        EXPECT_NE(kSheetGrey, sheet.Canvas().At(20 + i * 408 + 5, 30 + 5)) << looks[i].caption;
        EXPECT_NE(kSheetGrey, sheet.Canvas().At(20 + i * 408 + 380, 30 + 255)) << looks[i].caption;
    }

    const int top = 320;
    sheet.Label(20, top - 18, "banner on the dialog face, 1x and 2x");
    sheet.Fill(20, top, 380, 90, kDialogFace);
    CDib banner(true);
    banner.LoadFromFile(RepoPath("resources/art/banner.bmp"));
    banner.Draw(sheet.Dc(), 30, top + 6);
    {
        TestCanvas face(180, 25);
        face.Fill(kDialogFace);
        banner.Draw(face.Dc(), 0, 0);
        StretchBlt(sheet.Dc(), 30, top + 36, 360, 50, face.Dc(), 0, 0, 180, 25, SRCCOPY);
    }
    sheet.Label(20, top + 94, "LogoClas.bmp, transparent and opaque");
    sheet.Fill(20, top + 112, 380, 130, kDialogFace);
    CDib classic(true);
    classic.LoadFromFile(RepoPath("resources/dist/LogoClas.bmp"));
    classic.Draw(sheet.Dc(), 30, top + 118);
    classic.m_bTransparent = false;
    classic.Draw(sheet.Dc(), 30, top + 178);

    sheet.Label(430, top - 18, "bitmap 1017 (3x)");
    sheet.Scaled(*Resource(IDB_SKIN_BUTTONS, false), 430, top, 3);
    sheet.Label(805, top - 18, "1018 (3x)");
    sheet.Scaled(*Resource(IDB_SKIN_LIGHTS, false), 805, top, 3);

    // Icons: 48, 32 and 16 pixels on the sheet, 16 on a dark taskbar.
    const int iconTop = 650;
    sheet.Label(20, iconTop - 22, "icon groups 1001, 1003..1015 at 48, 32, 16 pixels; 16 on a dark taskbar");
    std::vector<int> ids = {IDI_PROGRAM};
    for (int id = IDI_PAGE_IDLE; id <= IDI_TRAY_DOWN; ++id)
        ids.push_back(id);
    sheet.Fill(20, iconTop + 118, 14 * 84, 30, RGB(32, 38, 46));
    for (size_t i = 0; i < ids.size(); ++i) {
        const int x = 24 + int(i) * 84;
        int y = iconTop;
        for (int size : {48, 32, 16}) {
            HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids[i]),
                                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(nullptr, icon) << "icon " << ids[i] << " at " << size;
            EXPECT_TRUE(DrawIconEx(sheet.Dc(), x, y, icon, size, size, 0, nullptr, DI_NORMAL));
            if (size == 16)
                DrawIconEx(sheet.Dc(), x, iconTop + 125, icon, size, size, 0, nullptr, DI_NORMAL);
            DestroyIcon(icon);
            y += size + 6;
        }
        sheet.Label(x, iconTop + 156, std::to_string(ids[i]));
    }
    const char* roles = "1001 program   1003/1004 not up   1005/1006 up   1007/1008 unreadable   1009 up, quiet   "
                        "1010 both ways   1011 down   1012 up   1013 unreadable   1014 training   1015 down";
    sheet.Label(20, iconTop + 180, roles);

    const std::string folder = ScreenshotFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\art-contact-sheet.png";
    EXPECT_TRUE(sheet.Save(path)) << path;
}
