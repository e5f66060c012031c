// Shared by the skin's Windows tests: a fake application, the settings file
// and logo in the test program's folder, a scripted modem, and a recorder of
// what the window draws.
#pragma once

#include "framework/AppServices.h"
#include "framework/ProgramClass.h"
#include "framework/WindowClass.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawRecorder.h"
#include "support/FakeDeviceIo.h"
#include "support/FakeProfileReader.h"

#include "../support/BmpBuilder.h"
#include "../support/ScopedFile.h"
#include "../support/TestCanvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace skintest {

class FakeApp : public IAppServices {
public:
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void ExitApplication() override {}
    void StopDebugMode() override { ++stopDebugCalls; }
    void GenerateDebugLog() override { ++debugLogCalls; }
    bool HasOpenStatusWindow() const override { return false; }
    std::string GetLanguageName() const override { return "english"; }

    int stopDebugCalls = 0, debugLogCalls = 0;
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

// A 24-bit logo of 40 x 30: key green (its top-left) in the left half, orange in the right.
inline void WriteLogo()
{
    bmptest::BmpLayout logo;
    logo.width = 40;
    logo.height = 30;
    logo.bpp = 24;
    for (int i = 0; i < logo.width * logo.height; ++i)
        logo.colors.push_back(i % logo.width < logo.width / 2 ? bmptest::Rgb{0, 255, 0} : bmptest::Rgb{255, 128, 0});
    const std::vector<uint8_t> file = bmptest::FileBitmap(logo);
    std::ofstream(ProgramFile("LogoSkin.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
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

// The button object behind a command id of the window.
inline CSkinButton& Button(HWND window, UINT id)
{
    return *static_cast<CSkinButton*>(CWnd::FromHandle(GetDlgItem(window, int(id))));
}

// What the window drew: the last title, labels and values, the last bars
// and light, and a log of the draws (T title, L label, digit value row, A activity).
class Recorder : public ISkinDrawRecorder {
public:
    void OnDrawTitle(int shownPage, const std::wstring&, const std::wstring& shownIndicator) override
    {
        page = shownPage;
        indicator = shownIndicator;
        log += 'T';
    }
    void OnDrawLabel(int row, const std::wstring& text) override
    {
        labels[row] = text;
        log += 'L';
    }
    void OnDrawValue(int row, const std::string& text) override
    {
        values[row] = text;
        log += char('0' + row);
    }
    void OnDrawActivity(int upperLevel, int lowerLevel, int lightImage) override
    {
        upper = upperLevel;
        lower = lowerLevel;
        light = lightImage;
        log += 'A';
    }

    int page = -1, upper = -1, lower = -1, light = -9;
    std::wstring indicator, labels[4];
    std::string values[4], log;
};

const COLORREF kFill = RGB(1, 2, 3);

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
        for (auto [code, value] : {std::pair<uint32_t, uint32_t>{0x0004, 2}, {0x0206, 0}, {0x0113, 5}, {0x0107, 864},
                                   {0x0103, 8128}, {0x0220, 0}, {0x01F5, 0}, {0x0301, 0}, {0x0381, 0}})
            device.answerDword(code, value);
        device.answerText(0x0001, "Driver 7.1");
        device.answerText(0x01E4, "FW 3.33");
        profile.set("vavevida.ini", "SystemInfo", "PackageVersion", "Pkg 2.5.1");
    }
    void TearDown() override
    {
        PumpMessages();
        std::remove(ProgramFile("Modavi.ini").c_str());
        std::remove(ProgramFile("LogoSkin.bmp").c_str());
    }

    FakeDeviceIo device;
    ScopedDeviceIo useDevice{device};
    FakeProfileReader profile;
    ScopedProfileReader useProfile{profile};
    FakeApp app;
};

} // namespace skintest
