// Shared by the skin's Windows tests: a fake application, the settings file
// and logo in the test program's folder, a scripted modem, a recorder of
// what the window draws, and pixel helpers.
#pragma once

#include "dib/Dib.h"
#include "support/FakeDeviceIo.h"
#include "support/FakeProfileReader.h"
#include "framework/AppServices.h"
#include "framework/ProgramClass.h"
#include "framework/WindowClass.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "skin/SkinDrawRecorder.h"

#include "../support/BmpBuilder.h"
#include "../support/ScopedFile.h"
#include "../support/TestCanvas.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
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

// Modavi.ini of the test program's folder: the defaults below, each line of
// `overrides` replacing the default of its key.
inline void WriteSettings(const std::vector<std::string>& overrides = {})
{
    std::vector<std::string> lines = {"Hue=0", "Sat=0", "TitlebarHue=0", "TitlebarSat=0", "TransparentBitmap=1",
                                      "UseHueAndSat=0", "TitlebarTextRGB=255,255,255", "LabelTextRGB=0,255,255",
                                      "StatusTextRGB=255,255,0"};
    for (const std::string& line : overrides) {
        const std::string key = line.substr(0, line.find('=') + 1);
        for (auto it = lines.begin(); it != lines.end();)
            it = it->compare(0, key.size(), key) == 0 ? lines.erase(it) : it + 1;
        lines.push_back(line);
    }
    std::string body;
    for (const std::string& line : lines)
        body += line + "\r\n";
    std::ofstream(ProgramFile("Modavi.ini"), std::ios::binary) << SettingsText(body);
}

// A 24-bit logo: 40 x 30, key colour (0, 255, 0) in its left half (so at its
// top-left), orange in its right half.
inline void WriteLogo()
{
    bmptest::BmpLayout logo;
    logo.width = 40;
    logo.height = 30;
    logo.bpp = 24;
    for (int i = 0; i < logo.width * logo.height; ++i)
        logo.colors.push_back(i % logo.width < logo.width / 2 ? bmptest::Rgb{0, 255, 0} : bmptest::Rgb{255, 128, 0});
    const std::vector<uint8_t> file = bmptest::FileBitmap(logo);
    std::ofstream(ProgramFile("LogoSkin.bmp"), std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                                        std::streamsize(file.size()));
}

inline void RemoveProgramFiles()
{
    std::remove(ProgramFile("Modavi.ini").c_str());
    std::remove(ProgramFile("LogoSkin.bmp").c_str());
}

// A modem with the line up and everything readable.
inline void ScriptLineUp(FakeDeviceIo& device)
{
    for (auto [code, value] : {std::pair<uint32_t, uint32_t>{0x0004, 2}, {0x0206, 0}, {0x0113, 5}, {0x0107, 864},
                               {0x0103, 8128}, {0x0220, 0}, {0x01F5, 0}, {0x0301, 0}, {0x0381, 0}})
        device.answerDword(code, value);
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
    int row; // page for titles
    int upper = 0, lower = 0, light = 0;
};

class Recorder : public ISkinDrawRecorder {
public:
    void OnDrawTitle(int page, const std::wstring&, const std::wstring& indicator) override
    {
        lastIndicator = indicator;
        items.push_back({Drawn::Title, page});
    }
    void OnDrawLabel(int row, const std::wstring&) override { items.push_back({Drawn::Label, row}); }
    void OnDrawValue(int row, const std::string&) override { items.push_back({Drawn::Value, row}); }
    void OnDrawActivity(int upper, int lower, int light) override
    {
        items.push_back({Drawn::Activity, 0, upper, lower, light});
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

    std::vector<Drawn> items;
    std::wstring lastIndicator;
};

const COLORREF kFill = RGB(1, 2, 3);

// A canvas of the window's size (or the given one) filled with kFill.
inline std::unique_ptr<TestCanvas> FilledCanvas(int width = 388, int height = 263)
{
    auto canvas = std::make_unique<TestCanvas>(width, height);
    canvas->Fill(kFill);
    return canvas;
}

// Pixels of `colour` inside `area`.
inline int CountColour(const TestCanvas& canvas, const RECT& area, COLORREF colour)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += canvas.At(x, y) == colour;
    return n;
}

// Colour of pixel (x, y) of a loaded image, y counted from the top.
inline COLORREF ImagePixel(const CDib& image, int x, int y)
{
    const RgbColor c = image.GetImage()->PixelColor(x, image.m_nHeight - 1 - y);
    return RGB(c.red, c.green, c.blue);
}

// Common set-up: strings from this program file, the program's window class,
// the settings file and the logo, a scripted modem with the line up.
class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceModule(GetModuleHandleW(nullptr));
        RegisterNamedWindowClass(kProgramWindowClass);
        WriteSettings();
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
