// Processor time of one Refresh of the skinned window (the poll of timer 1):
// with nothing changed since the previous poll, and with every row of the
// page changed, on both pages. The modem is a small in-memory device that
// answers at once, so the figures are the window's own cost (fetching and
// formatting the fields, comparing rows, drawing, the bars and the light).
// With --device the program's real control device is used instead (the
// simulator), so the requests' cost is included.
//
// The program folder gets a Modavi.ini and a LogoSkin.bmp for the run; what
// was there before is put back at the end.
#include <windows.h>

#include "settings/ByteOrder.h"
#include "driver/CommandLayout.h"
#include "driver/DeviceIo.h"
#include "settings/ProfileReader.h"
#include "app/AppServices.h"
#include "settings/ProgramIdentity.h"
#include "framework/WindowClass.h"
#include "settings/IniFile.h"
#include "settings/ProgramPaths.h"
#include "settings/ResourceModule.h"
#include "settings/TextUtil.h"
#include "settings/XVuk.h"
#include "skin/SkinMainWnd.h"

#include "../../support/BmpBuilder.h"
#include "../../support/ScopedFile.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPolls = 2000;

class BenchApp : public IAppServices {
public:
    void ShowMainWindow() override {}
    void CloseStatusWindow() override {}
    void ExitApplication() override {}
    void OpenSettings() override {}
    void StopDebugMode() override {}
    void GenerateDebugLog() override {}
    bool HasOpenStatusWindow() const override { return true; }
    std::string GetLanguageName() const override { return "english"; }
    void RecordLineRead(LineReader, LineCondition, LineRates) override {}
    void RecordPcEvent(LineReader, PcEvent) override {}
};

// A modem that answers from a table, records nothing and allocates nothing.
class TableDevice : public IDeviceIo {
public:
    void Number(uint16_t command, uint32_t value)
    {
        Entry& entry = m_answers[command];
        entry.length = 4;
        entry.data.assign(4, 0);
        WriteLe32(entry.data.data(), value);
    }
    void Text(uint16_t command, const char* text)
    {
        Entry& entry = m_answers[command];
        entry.length = uint16_t(std::strlen(text));
        entry.data.assign(text, text + std::strlen(text) + 1);
    }
    void Counter(uint16_t command, uint32_t step) { m_counters[command] = step; }

    DeviceHandle open(const char*) override { return 1; }
    void close(DeviceHandle) override {}
    bool control(DeviceHandle, uint32_t, const void* input, uint32_t, void* output, uint32_t outputSize) override
    {
        uint16_t command = RequestCommandCode(static_cast<const uint8_t*>(input));
        uint8_t* answer = static_cast<uint8_t*>(output);
        auto counter = m_counters.find(command);
        if (counter != m_counters.end()) {
            Number(command, m_counterValues[command] += counter->second);
        }
        auto found = m_answers.find(command);
        if (found == m_answers.end()) {
            WriteLe16(answer + kAnswerStatusOffset, 1);
            WriteLe16(answer + kAnswerLengthOffset, 0);
            return true;
        }
        WriteLe16(answer + kAnswerStatusOffset, 0);
        WriteLe16(answer + kAnswerLengthOffset, found->second.length);
        size_t count = std::min<size_t>(found->second.data.size(), outputSize - kAnswerDataOffset);
        std::memcpy(answer + kAnswerDataOffset, found->second.data.data(), count);
        return true;
    }

private:
    struct Entry {
        uint16_t length = 0;
        std::vector<uint8_t> data;
    };
    std::map<uint16_t, Entry> m_answers;
    std::map<uint16_t, uint32_t> m_counters;
    std::map<uint16_t, uint32_t> m_counterValues;
};

class NoProfile : public IProfileReader {
public:
    uint32_t readString(const char*, const char*, const char*, char* buffer, uint32_t size, const char*) override
    {
        const char* text = m_bAlternate ? "2.5.2" : "2.5.1";
        if (size == 0)
            return 0;
        std::snprintf(buffer, size, "%s", text);
        return uint32_t(std::strlen(buffer));
    }
    bool m_bAlternate = false;
};

// Two modems whose every displayed row differs.
void ScriptModem(TableDevice& device, bool alternate)
{
    device.Number(0x0004, alternate ? 3 : 2);
    device.Number(0x0206, 0);
    device.Number(0x0113, 5);
    device.Number(0x0107, 864);
    device.Number(0x0103, 8128);
    device.Number(0x0220, 1);
    device.Number(0x01F5, 1);
    device.Counter(0x0301, 1234);
    device.Counter(0x0381, 98765);
    device.Text(0x0001, alternate ? "Driver 7.1.2" : "Driver 7.1.1");
    device.Text(0x01E4, alternate ? "Firmware 3.34" : "Firmware 3.33");
}

std::string ProgramFile(const char* name)
{
    return JoinPath(GetProgramDir(), name);
}

// A 60 x 40 grey 24-bit logo.
std::string LogoBytes()
{
    bmptest::BmpLayout logo;
    logo.width = 60;
    logo.height = 40;
    logo.bpp = 24;
    logo.colors.assign(size_t(logo.width) * logo.height, bmptest::Rgb{0x80, 0x80, 0x80});
    const std::vector<uint8_t> file = bmptest::FileBitmap(logo);
    return std::string(file.begin(), file.end());
}

uint64_t ThreadCpu100ns()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

// Polls at least kPolls times and for at least half a second; `change`
// runs before each poll (it only swaps the device in use). The processor
// time is the thread's over the whole run: its clock is too coarse for one poll.
template <class Change>
void Measure(const char* what, CSkinMainWnd& window, Change change)
{
    int polls = 0;
    uint64_t cpuStart = ThreadCpu100ns();
    double wallStart = Now();
    double wall = 0;
    while (polls < kPolls || wall < 0.5) {
        change(polls);
        window.Refresh();
        if (++polls % 64 == 0) {
            Pump();
            wall = Now() - wallStart;
        }
    }
    wall = Now() - wallStart;
    uint64_t cpu = ThreadCpu100ns() - cpuStart;
    std::printf("%-44s %8.1f us CPU %8.1f us wall  (%d polls)\n", what, double(cpu) / 10.0 / polls,
                wall * 1e6 / polls, polls);
}

} // namespace

int main(int argc, char** argv)
{
    bool realDevice = argc > 1 && std::strcmp(argv[1], "--device") == 0;
    SetResourceModule(GetModuleHandleW(nullptr));
    RegisterNamedWindowClass(kProgramWindowClass);
    ScopedFile settings(ProgramFile("Modavi.ini"),
                        SettingsText("Hue=140\r\nSat=90\r\nTitlebarHue=140\r\nTitlebarSat=120\r\nTransparentBitmap=1\r\n"
                                     "TitlebarTextRGB=255,255,255\r\nLabelTextRGB=170,190,210\r\n"
                                     "StatusTextRGB=255,255,255\r\n"));
    ScopedFile logo(ProgramFile("LogoSkin.bmp"), LogoBytes());

    TableDevice modems[2];
    ScriptModem(modems[0], false);
    ScriptModem(modems[1], true);
    NoProfile profile;
    ScopedProfileReader useProfile(profile);
    std::unique_ptr<ScopedDeviceIo> useDevice;
    if (!realDevice)
        useDevice = std::make_unique<ScopedDeviceIo>(modems[0]);

    int status = 0;
    try {
        BenchApp app;
        CSkinMainWnd window(app);
        Pump();
        std::printf("skinned window Refresh, %s\n", realDevice ? "real control device" : "in-memory modem");
        auto same = [](int) {};
        auto flip = [&](int i) {
            if (!realDevice)
                SetDeviceIo(&modems[i % 2]);
            profile.m_bAlternate = i % 2 != 0;
        };
        Measure("page 0, nothing changed", window, same);
        if (!realDevice)
            Measure("page 0, every row changed", window, flip);
        SendMessageW(window.m_hWnd, WM_COMMAND, 104, 0);
        Measure("page 1, nothing changed", window, same);
        if (!realDevice)
            Measure("page 1, every row changed", window, flip);
        SetDeviceIo(realDevice ? nullptr : &modems[0]);

        // What every redrawn row pays by design: its colour key read anew from Modavi.ini.
        double start = Now();
        for (int i = 0; i < 500; ++i)
            ReadIniRgb(ReadIniString("StatusTextRGB"));
        std::printf("%-44s %8s        %8.1f us wall\n", "one colour key read from Modavi.ini", "",
                    (Now() - start) * 1e6 / 500);
    } catch (const XVuk& error) {
        std::fprintf(stderr, "error: %s\n", error.GetMessageText().c_str());
        status = 1;
    }
    return status;
}
