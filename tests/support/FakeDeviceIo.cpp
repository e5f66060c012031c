#include "support/FakeDeviceIo.h"

#include "driver/Channel.h"
#include "driver/CommandLayout.h"

#include <algorithm>
#include <cstring>

FakeDeviceIo::FakeDeviceIo()
{
    setDevices(true, true);
}

void FakeDeviceIo::setDevices(bool usb, bool pci)
{
    setDevicePresent(DeviceNames[0], usb);
    setDevicePresent(DeviceNames[1], pci);
}

void FakeDeviceIo::setDevicePresent(const std::string& path, bool present)
{
    if (present)
        m_present.insert(path);
    else
        m_present.erase(path);
}

void FakeDeviceIo::answer(uint32_t command, const Answer& answer)
{
    m_counters.erase(uint16_t(command));
    m_answers[uint16_t(command)] = answer;
}

void FakeDeviceIo::answerDword(uint32_t command, uint32_t value, uint16_t status)
{
    Answer scripted;
    scripted.status = status;
    scripted.length = 4;
    scripted.data.resize(4);
    WriteLe32(scripted.data.data(), value);
    answer(command, scripted);
}

void FakeDeviceIo::answerBytes(uint32_t command, const std::vector<uint8_t>& bytes, uint16_t status)
{
    Answer scripted;
    scripted.status = status;
    scripted.length = uint16_t(bytes.size());
    scripted.data = bytes;
    answer(command, scripted);
}

void FakeDeviceIo::answerText(uint32_t command, const std::string& text, uint16_t status)
{
    Answer scripted;
    scripted.status = status;
    scripted.length = uint16_t(text.size());
    scripted.data.assign(text.begin(), text.end());
    scripted.data.push_back(0);
    answer(command, scripted);
}

void FakeDeviceIo::answerCounter(uint32_t command, uint32_t start, uint32_t step)
{
    m_answers.erase(uint16_t(command));
    m_counters[uint16_t(command)] = Counter{start, step};
}

void FakeDeviceIo::failCall(uint32_t command)
{
    Answer scripted;
    scripted.callFails = true;
    answer(command, scripted);
}

void FakeDeviceIo::forget(uint32_t command)
{
    m_answers.erase(uint16_t(command));
    m_counters.erase(uint16_t(command));
}

size_t FakeDeviceIo::openCount(const std::string& path) const
{
    auto found = m_openCounts.find(path);
    return found == m_openCounts.end() ? 0 : found->second;
}

size_t FakeDeviceIo::callCount(uint32_t command) const
{
    return size_t(std::count_if(m_calls.begin(), m_calls.end(),
                                [command](const Call& call) { return call.command == uint16_t(command); }));
}

void FakeDeviceIo::clearRecords()
{
    m_opens.clear();
    m_openCounts.clear();
    m_calls.clear();
    m_badHandleUses = 0;
}

DeviceHandle FakeDeviceIo::open(const char* path)
{
    std::string name = path ? path : "";
    m_opens.push_back(name);
    if (!m_present.count(name))
        return kNoDeviceHandle;
    ++m_openCounts[name];
    DeviceHandle handle = m_nextHandle++;
    m_handles[handle] = name;
    return handle;
}

FakeDeviceIo::Answer FakeDeviceIo::answerFor(uint16_t command)
{
    auto counter = m_counters.find(command);
    if (counter != m_counters.end()) {
        Answer counted;
        counted.length = 4;
        counted.data.resize(4);
        WriteLe32(counted.data.data(), counter->second.next);
        counter->second.next += counter->second.step;
        return counted;
    }
    auto scripted = m_answers.find(command);
    return scripted == m_answers.end() ? m_unscripted : scripted->second;
}

bool FakeDeviceIo::control(DeviceHandle handle, uint32_t controlCode, const void* input, uint32_t inputSize,
                           void* output, uint32_t outputSize)
{
    auto open = m_handles.find(handle);
    if (open == m_handles.end()) {
        ++m_badHandleUses;
        return false;
    }
    Call call;
    call.device = open->second;
    call.controlCode = controlCode;
    call.inputSize = inputSize;
    call.outputSize = outputSize;
    if (input)
        call.request.assign(static_cast<const uint8_t*>(input), static_cast<const uint8_t*>(input) + inputSize);
    if (call.request.size() >= 6)
        call.command = RequestCommandCode(call.request.data());
    m_calls.push_back(call);

    if (controlCode != kDeviceControlCode || inputSize < 6 || !output || outputSize < kAnswerDataOffset)
        return false;
    Answer scripted = answerFor(call.command);
    if (scripted.callFails && !scripted.writesOnFailure)
        return false;
    uint8_t* bytes = static_cast<uint8_t*>(output);
    WriteLe16(bytes + kAnswerStatusOffset, scripted.status);
    WriteLe16(bytes + kAnswerLengthOffset, scripted.length);
    size_t count = std::min<size_t>(scripted.data.size(), outputSize - kAnswerDataOffset);
    if (count)
        std::memcpy(bytes + kAnswerDataOffset, scripted.data.data(), count);
    return !scripted.callFails;
}

void FakeDeviceIo::close(DeviceHandle handle)
{
    if (!m_handles.erase(handle))
        ++m_badHandleUses;
}
