// A scripted stand-in for the modem driver's control devices (install it with
// ScopedDeviceIo). It answers each command (the low 16 bits of the code) as
// scripted, unscripted ones with a successful call that writes nothing; it
// can fail calls or hide devices and records open attempts and calls.
#pragma once

#include "driver/Channel.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

class FakeDeviceIo : public IDeviceIo {
public:
    struct Call {
        uint16_t command = 0;         // request bytes 4-5
        std::vector<uint8_t> request; // the whole input buffer
    };

    void setDevices(bool usb, bool pci) { m_present[0] = usb, m_present[1] = pci; }
    // Data from answer byte 8 on; the length word is the data's size unless given.
    void answerBytes(uint32_t command, std::vector<uint8_t> data, uint16_t status = 0, int length = -1)
    {
        m_answers[uint16_t(command)] = {status, uint16_t(length < 0 ? data.size() : size_t(length)), data};
    }
    void answerDword(uint32_t command, uint32_t value, uint16_t status = 0)
    {
        answerBytes(command, {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)}, status);
    }
    // The text and a terminator; the length does not count the terminator.
    void answerText(uint32_t command, const std::string& text, uint16_t status = 0)
    {
        answerBytes(command, {text.c_str(), text.c_str() + text.size() + 1}, status, int(text.size()));
    }
    // A 32-bit counter: start on the first call, step more on each later one.
    void answerCounter(uint32_t command, uint32_t start, uint32_t step)
    {
        answerDword(command, start);
        m_answers[uint16_t(command)].step = step;
    }
    void failCall(uint32_t command) { m_answers[uint16_t(command)] = {0, 0, {}, 0, true}; }
    const std::vector<std::string>& openAttempts() const { return m_opens; }
    const std::vector<Call>& calls() const { return m_calls; }
    size_t callCount(uint32_t command) const
    {
        return size_t(std::count_if(m_calls.begin(), m_calls.end(),
                                    [command](const Call& call) { return call.command == uint16_t(command); }));
    }
    size_t openHandleCount() const { return m_handles.size(); } // opened and not closed
    void clearRecords() { m_opens.clear(), m_calls.clear(); }

    DeviceHandle open(const char* path) override
    {
        m_opens.push_back(path);
        for (size_t index = 0; index < kDeviceCount; ++index)
            if (m_present[index] && m_opens.back() == DeviceNames[index])
                return *m_handles.insert(m_nextHandle++).first;
        return kNoDeviceHandle;
    }
    bool control(DeviceHandle handle, uint32_t controlCode, const void* input, uint32_t inputSize, void* output,
                 uint32_t outputSize) override
    {
        const uint8_t* request = static_cast<const uint8_t*>(input);
        if (!m_handles.count(handle) || !request || inputSize < 6 || !output || outputSize < kAnswerDataOffset)
            return false;
        m_calls.push_back({RequestCommandCode(request), {request, request + inputSize}});
        Answer& scripted = m_answers[m_calls.back().command];
        if (controlCode != kDeviceControlCode || scripted.fails)
            return false;
        uint8_t* bytes = static_cast<uint8_t*>(output);
        WriteLe16(bytes + kAnswerStatusOffset, scripted.status);
        WriteLe16(bytes + kAnswerLengthOffset, scripted.length);
        if (!scripted.data.empty())
            std::memcpy(bytes + kAnswerDataOffset, scripted.data.data(),
                        std::min<size_t>(scripted.data.size(), outputSize - kAnswerDataOffset));
        if (scripted.step)
            WriteLe32(scripted.data.data(), ReadLe32(scripted.data.data()) + scripted.step);
        return true;
    }
    void close(DeviceHandle handle) override { m_handles.erase(handle); }

private:
    struct Answer {
        uint16_t status = 0, length = 0;
        std::vector<uint8_t> data;
        uint32_t step = 0; // a counter: data holds the next value
        bool fails = false;
    };

    bool m_present[kDeviceCount] = {true, true};
    std::map<uint16_t, Answer> m_answers;
    std::set<DeviceHandle> m_handles;
    DeviceHandle m_nextHandle = 0x100;
    std::vector<std::string> m_opens;
    std::vector<Call> m_calls;
};
