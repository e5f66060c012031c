// Shared by the skin's Windows tests: a fake application, the settings file
// and logo in the test program's folder, a scripted modem, a recorder of
// what the window draws, and 32-bit canvases whose pixels can be read.
#pragma once

#include "driver/FakeDeviceIo.h"
#include "driver/FakeProfileReader.h"
#include "framework/AppServices.h"
#include "framework/ProgramClass.h"
#include "framework/WindowClass.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "skin/SkinDrawRecorder.h"

#include "../support/BmpBuilder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace skintest {

class FakeApp : public IAppServices {
public:
    void ShowMainWindow() override { ++showCalls; }
    void CloseStatusWindow() override { ++closeCalls; }
    void ExitApplication() override { ++exitCalls; }
    void StopDebugMode() override { ++stopDebugCalls; }
    void GenerateDebugLog() override { ++debugLogCalls; }
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return language; }

    std::string language = "english";
    int showCalls = 0, closeCalls = 0, exitCalls = 0, stopDebugCalls = 0, debugLogCalls = 0;
};

inline std::string ProgramFile(const char* name)
{
    return JoinPath(GetProgramDir(), name);
}

// Modavi.ini of the test program's folder, section SystemInfo.
inline void WriteSettings(const std::vector<std::string>& lines)
{
    FILE* file = std::fopen(ProgramFile("Modavi.ini").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("[SystemInfo]\r\n", file);
    for (const std::string& line : lines) {
        std::fputs(line.c_str(), file);
        std::fputs("\r\n", file);
    }
    std::fclose(file);
}

inline std::vector<std::string> DefaultSettings()
{
    return {"Hue=0", "Sat=0", "TitlebarHue=0", "TitlebarSat=0", "TransparentBitmap=1", "UseHueAndSat=0",
            "TitlebarTextRGB=255,255,255", "LabelTextRGB=0,255,255", "StatusTextRGB=255,255,0"};
}

// A 24-bit logo: 40 x 30, key colour (0, 255, 0) at its top-left and in its
// left half, orange in its right half.
inline void WriteLogo()
{
    bmptest::BmpLayout logo;
    logo.width = 40;
    logo.height = 30;
    logo.bpp = 24;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            logo.colors.push_back(x < logo.width / 2 ? bmptest::Rgb{0, 255, 0} : bmptest::Rgb{255, 128, 0});
    const std::vector<uint8_t> file = bmptest::FileBitmap(logo);
    FILE* out = std::fopen(ProgramFile("LogoSkin.bmp").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

inline void RemoveProgramFiles()
{
    std::remove(ProgramFile("Modavi.ini").c_str());
    std::remove(ProgramFile("LogoSkin.bmp").c_str());
}

// A modem with the line up and everything readable.
inline void ScriptLineUp(FakeDeviceIo& device)
{
    device.answerDword(0x0004, 2);
    device.answerDword(0x0206, 0);
    device.answerDword(0x0113, 5);
    device.answerDword(0x0107, 864);
    device.answerDword(0x0103, 8128);
    device.answerDword(0x0220, 0);
    device.answerDword(0x01F5, 0);
    device.answerDword(0x0301, 0);
    device.answerDword(0x0381, 0);
    device.answerText(0x0001, "Driver 7.1");
    device.answerText(0x01E4, "FW 3.33");
}

// Dispatches what is queued for this thread (posted commands, WM_CLOSE...).
inline void PumpMessages()
{
    MSG message;
    for (int round = 0; round < 4; ++round)
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
}

// Holds Shift and Ctrl in this thread's key state for a scope.
class HeldKeys {
public:
    HeldKeys(bool shift, bool control)
    {
        GetKeyboardState(m_saved);
        BYTE state[256];
        std::memcpy(state, m_saved, sizeof state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

struct Drawn {
    enum Kind { Title, Label, Value, Activity } kind;
    int row;                // page for titles
    std::string text;       // UTF-8 for values, narrowed for the rest
    int upper = 0, lower = 0, light = 0;
};

class Recorder : public ISkinDrawRecorder {
public:
    void OnDrawTitle(int page, const std::wstring& title, const std::wstring& indicator) override
    {
        lastIndicator = indicator;
        items.push_back({Drawn::Title, page, Narrow(title)});
    }
    void OnDrawLabel(int row, const std::wstring& text) override { items.push_back({Drawn::Label, row, Narrow(text)}); }
    void OnDrawValue(int row, const std::string& text) override { items.push_back({Drawn::Value, row, text}); }
    void OnDrawActivity(int upper, int lower, int light) override
    {
        Drawn item{Drawn::Activity, 0, ""};
        item.upper = upper;
        item.lower = lower;
        item.light = light;
        items.push_back(item);
    }

    size_t Count(Drawn::Kind kind) const
    {
        size_t n = 0;
        for (const Drawn& item : items)
            n += item.kind == kind;
        return n;
    }
    std::vector<int> ValueRows() const
    {
        std::vector<int> rows;
        for (const Drawn& item : items)
            if (item.kind == Drawn::Value)
                rows.push_back(item.row);
        return rows;
    }
    const Drawn* LastActivity() const
    {
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if (it->kind == Drawn::Activity)
                return &*it;
        return nullptr;
    }
    void Clear() { items.clear(); }

    std::vector<Drawn> items;
    std::wstring lastIndicator;

private:
    static std::string Narrow(const std::wstring& text)
    {
        std::string out;
        for (wchar_t c : text)
            out += c < 128 ? char(c) : '?';
        return out;
    }
};

// A 32-bit top-down DIB section in a memory DC: pixels read exactly.
class Canvas32 {
public:
    Canvas32(int width, int height, COLORREF fill = RGB(1, 2, 3)) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<uint32_t*>(bits);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Canvas32()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    Canvas32(const Canvas32&) = delete;
    Canvas32& operator=(const Canvas32&) = delete;

    HDC dc() const { return m_dc; }
    void Fill(COLORREF colour)
    {
        GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    // The pixel as COLORREF (0x00bbggrr).
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        uint32_t p = m_bits[size_t(y) * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int m_width, m_height;
    HBITMAP m_bitmap = nullptr;
    uint32_t* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

// Common set-up: strings from this program file, the program's window class,
// the settings file and the logo, a scripted modem with the line up.
class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        RegisterNamedWindowClass(kProgramWindowClass);
        WriteSettings(DefaultSettings());
        WriteLogo();
        ScriptLineUp(device);
        profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "Pkg 2.5.1");
    }
    void TearDown() override
    {
        PumpMessages();
        RemoveProgramFiles();
    }

    FakeDeviceIo device;
    ScopedDeviceIo useDevice{device};
    FakeProfileReader profile;
    ScopedProfileReader useProfile{profile};
    FakeApp app;
};

} // namespace skintest
