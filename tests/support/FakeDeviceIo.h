// A scripted stand-in for the modem driver's control devices, for tests on
// the host and under Wine. Install it with ScopedDeviceIo. It answers each
// command code as scripted, can make calls fail or devices vanish, and
// records every open attempt and every device-control call.
//
//   FakeDeviceIo device;               // both devices present, nothing scripted
//   ScopedDeviceIo use(device);
//   device.answerDword(0x0004, 2);     // line up
//   device.answerText(0x0001, "v1.0");
//   device.setDevices(false, true);    // only \\.\VukPciAdapter exists
#pragma once

#include "driver/DeviceIo.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class FakeDeviceIo : public IDeviceIo {
public:
    struct Answer {
        uint16_t status = 0;
        uint16_t length = 0;
        std::vector<uint8_t> data;    // written from answer byte 8 on, at most 4088 bytes
        bool callFails = false;       // the device-control call reports failure...
        bool writesOnFailure = false; // ...after writing the answer all the same
    };

    struct Call {
        std::string device;           // path the handle was opened with
        uint32_t controlCode = 0;
        uint16_t command = 0;         // request bytes 4-5
        std::vector<uint8_t> request; // the whole input buffer
        uint32_t inputSize = 0;
        uint32_t outputSize = 0;
    };

    FakeDeviceIo();

    // Which control devices exist (both at first).
    void setDevices(bool usb, bool pci);
    void setDevicePresent(const std::string& path, bool present);

    // Scripted answers, by the low 16 bits of the command code.
    void answer(uint32_t command, const Answer& answer);
    void answerDword(uint32_t command, uint32_t value, uint16_t status = 0);           // length 4
    void answerBytes(uint32_t command, const std::vector<uint8_t>& bytes, uint16_t status = 0); // length = count
    // The text and a terminating zero; the length does not count the zero.
    void answerText(uint32_t command, const std::string& text, uint16_t status = 0);
    // A 32-bit counter: start on the first call, step more on each later one.
    void answerCounter(uint32_t command, uint32_t start, uint32_t step);
    // The device-control call for command fails and writes nothing.
    void failCall(uint32_t command);
    // Back to the unscripted answer.
    void forget(uint32_t command);
    // What unscripted commands get (at first: a successful call that writes nothing).
    void setUnscriptedAnswer(const Answer& answer) { m_unscripted = answer; }

    // Records.
    const std::vector<std::string>& openAttempts() const { return m_opens; }
    size_t openCount(const std::string& path) const;    // successful opens of path
    const std::vector<Call>& calls() const { return m_calls; }
    size_t callCount(uint32_t command) const;
    size_t openHandleCount() const { return m_handles.size(); } // opened and not closed
    size_t badHandleUses() const { return m_badHandleUses; }    // calls or closes on unknown handles
    void clearRecords();

    // IDeviceIo
    DeviceHandle open(const char* path) override;
    bool control(DeviceHandle handle, uint32_t controlCode, const void* input, uint32_t inputSize, void* output,
                 uint32_t outputSize) override;
    void close(DeviceHandle handle) override;

private:
    struct Counter {
        uint32_t next;
        uint32_t step;
    };

    Answer answerFor(uint16_t command);

    std::set<std::string> m_present;
    std::map<uint16_t, Answer> m_answers;
    std::map<uint16_t, Counter> m_counters;
    Answer m_unscripted;
    std::map<DeviceHandle, std::string> m_handles;
    DeviceHandle m_nextHandle = 0x100;
    std::vector<std::string> m_opens;
    std::map<std::string, size_t> m_openCounts;
    std::vector<Call> m_calls;
    size_t m_badHandleUses = 0;
};
