// Counts the live GDI objects of a process, for leak checks in Windows tests
// and tools (and, for the tests, this process's kernel handles). GetGuiResources answers 0 under Wine, so this reads the GDI
// handle table the process environment block points to, which Windows and
// Wine both fill: a live object's entry has a non-zero type byte. The first
// device context a process makes brings lasting objects of GDI's own: call
// WarmUpGdi() once before the first count of a measurement.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gdiobjects {

// 64-bit layout: 24-byte entries, owning process id at 8, type at 14.
constexpr size_t kPebGdiTableOffset = 0xF8;
constexpr size_t kEntrySize = 24;
constexpr size_t kEntryCount = 0x10000;
static_assert(sizeof(void*) == 8, "the handle table layout here is the 64-bit one");

// The process environment block: readable directly for this process, with
// ReadProcessMemory for another.
inline const uint8_t* EnvironmentBlockOf(HANDLE process)
{
    struct {
        LONG_PTR exitStatus;
        void* pebBaseAddress;
        ULONG_PTR reserved[4];
    } info = {};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (query == nullptr || query(process, 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) != 0)
        return nullptr;
    return static_cast<const uint8_t*>(info.pebBaseAddress);
}

// Live entries of a handle table that belong to `pid` or to no process (stock objects).
inline int CountLiveEntries(const uint8_t* table, DWORD pid)
{
    int live = 0;
    for (size_t i = 0; i < kEntryCount; ++i) {
        const uint8_t* entry = table + i * kEntrySize;
        const uint16_t owner = uint16_t(entry[8] | entry[9] << 8);
        live += entry[14] != 0 && (owner == 0 || owner == uint16_t(pid));
    }
    return live;
}

} // namespace gdiobjects

// Live GDI objects of this process (stock objects included), or -1 without a handle table.
inline int CountLiveGdiObjects()
{
    const uint8_t* peb = gdiobjects::EnvironmentBlockOf(GetCurrentProcess());
    const uint8_t* table = peb ? *reinterpret_cast<const uint8_t* const*>(peb + gdiobjects::kPebGdiTableOffset) : nullptr;
    return table ? gdiobjects::CountLiveEntries(table, GetCurrentProcessId()) : -1;
}

// Makes and deletes a memory context with a bitmap, a brush and a pen, so
// that GDI's lazily made objects exist before counting.
inline void WarmUpGdi()
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen ? screen : dc, 2, 2);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    DeleteObject(CreateSolidBrush(RGB(1, 2, 3)));
    DeleteObject(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    if (screen)
        ReleaseDC(nullptr, screen);
}

// Open kernel handles of this process. GetProcessHandleCount answers 0 under
// Wine; the system's extended handle list (class 64) names each handle's
// process: entries of 40 bytes after two words, the process id at 8.
inline DWORD HandleCount()
{
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(64, buffer.data(), ULONG(buffer.size()), &needed) == LONG(0xC0000004)) // too small
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    DWORD count = 0;
    const ULONG_PTR* words = reinterpret_cast<const ULONG_PTR*>(buffer.data());
    for (ULONG_PTR i = 0; i < words[0]; ++i)
        count += words[2 + 5 * i + 1] == GetCurrentProcessId();
    return count;
}

