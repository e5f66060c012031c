// What a screen reader reads of the program's windows, read in-process as
// one would (Active Accessibility), and the changes the windows tell it.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

// What a screen reader reads of an element: role, state, name and value.
struct Reading {
    long role = 0, state = 0;
    std::wstring name, value;
};
inline Reading ReadAccessible(HWND hwnd, long child)
{
    Reading reading;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
        return reading;
    VARIANT id = {};
    id.vt = VT_I4;
    id.lVal = child;
    VARIANT answer = {};
    if (object->get_accRole(id, &answer) == S_OK)
        reading.role = answer.lVal;
    if (object->get_accState(id, &answer) == S_OK)
        reading.state = answer.lVal;
    for (auto [get, text] : {std::pair{&IAccessible::get_accName, &reading.name}, std::pair{&IAccessible::get_accValue, &reading.value}}) {
        BSTR got = nullptr;
        if ((object->*get)(id, &got) == S_OK && got)
            *text = got;
        SysFreeString(got);
    }
    object->Release();
    return reading;
}

// Name and value changes told to screen readers: (event, window, child id),
// recorded by an out-of-context hook (SetWinEventHook) as messages are pumped.
inline std::vector<std::tuple<DWORD, HWND, LONG>> g_told;
inline void CALLBACK RecordTold(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT)
        g_told.emplace_back(event, hwnd, child);
}

// The label of a value in an enumeration list "value,label,...".
inline std::wstring ListLabel(const std::wstring& list, const std::wstring& value)
{
    const size_t at = (L"," + list).find(L"," + value + L",");
    return at == std::wstring::npos ? L"" : list.substr(at + value.size() + 1, list.find(L',', at + value.size() + 1) - at - value.size() - 1);
}

// The name changes told of a window since g_told was cleared.
inline long NameChangesOf(HWND window)
{
    long count = 0;
    for (const auto& told : g_told)
        count += std::get<0>(told) == EVENT_OBJECT_NAMECHANGE && std::get<1>(told) == window;
    return count;
}

// COM for the reads and the hook that records the changes, while it lives.
class AccessibilityWatch {
public:
    AccessibilityWatch()
    {
        CoInitialize(nullptr);
        m_hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, RecordTold,
                                 GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        g_told.clear();
    }
    ~AccessibilityWatch()
    {
        UnhookWinEvent(m_hook);
        CoUninitialize();
    }
    AccessibilityWatch(const AccessibilityWatch&) = delete;
    AccessibilityWatch& operator=(const AccessibilityWatch&) = delete;

private:
    HWINEVENTHOOK m_hook = nullptr;
};
