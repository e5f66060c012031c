// Counts the live GDI objects of the current process, for leak checks in
// Windows tests and tools. GetGuiResources answers 0 under Wine, so this
// reads the GDI handle table that the process environment block points to
// (GdiSharedHandleTable), which both Windows and Wine fill: a live object's
// entry has a non-zero type byte. Entries owned by another process (Windows
// shares the table within a session) are not counted.
//
// The first device context a process makes brings lasting objects of GDI's
// own; call WarmUpGdi() once before the first count of a measurement.
//
// Header only: include it from any test or tool.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace gdiobjects {

// 64-bit layout, the same on Windows and Wine: 24-byte entries with the
// owning process id at offset 8 and the type at offset 14.
constexpr size_t kPebGdiTableOffset = 0xF8;
constexpr size_t kEntrySize = 24;
constexpr size_t kEntryProcessOffset = 8;
constexpr size_t kEntryTypeOffset = 14;
constexpr size_t kEntryCount = 0x10000;

static_assert(sizeof(void*) == 8, "the handle table layout here is the 64-bit one");

// The process environment block of a process, through ntdll's process query:
// readable directly for this process, with ReadProcessMemory for another.
inline const uint8_t* EnvironmentBlockOf(HANDLE process)
{
    struct BasicInformation {
        LONG_PTR exitStatus;
        void* pebBaseAddress;
        ULONG_PTR reserved[4];
    } info = {};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    Query query = ntdll ? reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")))
                        : nullptr;
    if (query == nullptr || query(process, 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) != 0)
        return nullptr;
    return static_cast<const uint8_t*>(info.pebBaseAddress);
}

inline const uint8_t* HandleTable()
{
    const uint8_t* peb = EnvironmentBlockOf(GetCurrentProcess());
    if (peb == nullptr)
        return nullptr;
    return *reinterpret_cast<const uint8_t* const*>(peb + kPebGdiTableOffset);
}

// Live entries of a handle table (kEntryCount entries) that belong to the
// process `pid` or to no process (stock objects).
inline int CountLiveEntries(const uint8_t* table, DWORD pid)
{
    const uint16_t self = uint16_t(pid);
    int live = 0;
    for (size_t i = 0; i < kEntryCount; ++i) {
        const uint8_t* entry = table + i * kEntrySize;
        if (entry[kEntryTypeOffset] == 0)
            continue;
        const uint16_t owner = uint16_t(entry[kEntryProcessOffset] | entry[kEntryProcessOffset + 1] << 8);
        if (owner == 0 || owner == self)
            ++live;
    }
    return live;
}

} // namespace gdiobjects

// Live GDI objects of this process (stock objects included), or -1 when the
// process has no handle table.
inline int CountLiveGdiObjects()
{
    const uint8_t* table = gdiobjects::HandleTable();
    return table ? gdiobjects::CountLiveEntries(table, GetCurrentProcessId()) : -1;
}

// Makes (and deletes again) a memory context with a bitmap selected, a brush
// and a pen, so that GDI's own lazily made objects exist before counting.
inline void WarmUpGdi()
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen ? screen : dc, 2, 2);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    SelectObject(dc, previous);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
    if (screen)
        ReleaseDC(nullptr, screen);
}
