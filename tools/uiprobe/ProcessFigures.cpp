#include "ProcessFigures.h"

#include "framework/Handles.h"
#include "settings/WideText.h"
#include "../../tests/support/GdiObjects.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Live GDI objects of another process, counted in its environment block's
// GDI handle table as tests/support/GdiObjects.h counts its own; -1 when the
// table cannot be read.
long RemoteGdiObjects(HANDLE process, DWORD pid)
{
    const uint8_t* peb = gdiobjects::EnvironmentBlockOf(process);
    if (!peb)
        return -1;
    const uint8_t* table = nullptr;
    if (!ReadProcessMemory(process, peb + gdiobjects::kPebGdiTableOffset, &table, sizeof table, nullptr) || !table)
        return -1;
    std::vector<uint8_t> entries(gdiobjects::kEntryCount * gdiobjects::kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        return -1;
    return gdiobjects::CountLiveEntries(entries.data(), pid);
}

// Handles of another process, from the system's handle list (Wine answers 0
// to GetProcessHandleCount for other processes); -1 when it cannot be read.
long SystemHandleCount(DWORD pid)
{
    struct Entry {
        ULONG ownerPid;
        UCHAR objectType;
        UCHAR flags;
        USHORT handle;
        void* object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    std::vector<uint8_t> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        LONG status = query(16 /* SystemHandleInformation */, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == 0)
            break;
        if (status != LONG(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */ || buffer.size() >= (256u << 20))
            return -1;
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    }
    ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long owned = 0;
    for (ULONG i = 0; i < count; ++i)
        owned += entries[i].ownerPid == pid;
    return owned;
}

bool RunsOnWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

unsigned long long FileTime100ns(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Processor time (kernel and user) of another process in milliseconds. Wine
// answers GetProcessTimes for another process with the caller's own times,
// so there it is the sum of GetThreadTimes over the process's threads, which
// Wine takes from the system's accounting of each thread.
unsigned long long ProcessCpuMs(HANDLE process, DWORD pid)
{
    FILETIME created, exited, kernel, user;
    if (!RunsOnWine()) {
        if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
            return 0;
        return (FileTime100ns(kernel) + FileTime100ns(user)) / 10000;
    }
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE)
        return 0;
    unsigned long long total = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
        if (thread && GetThreadTimes(thread.get(), &created, &exited, &kernel, &user))
            total += FileTime100ns(kernel) + FileTime100ns(user);
    }
    return total / 10000;
}

} // namespace

int PrintProcessFigures(DWORD pid)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        return 1;
    DWORD handleCount = 0;
    GetProcessHandleCount(process.get(), &handleCount);
    long handles = handleCount ? long(handleCount) : SystemHandleCount(pid);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine fills only the basic record; its PagefileUsage is the same commit
    // charge (private bytes) that PrivateUsage repeats on Windows.
    SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    long gdi = long(GetGuiResources(process.get(), GR_GDIOBJECTS));
    if (gdi == 0)
        gdi = RemoteGdiObjects(process.get(), pid);
    printf("handles %ld\ngdi %ld\nuser %lu\nprivate %llu\nworkingset %llu\ncpu_ms %llu\n", handles, gdi,
           GetGuiResources(process.get(), GR_USEROBJECTS), static_cast<unsigned long long>(privateBytes),
           static_cast<unsigned long long>(memory.WorkingSetSize), ProcessCpuMs(process.get(), pid));
    return 0;
}

int PrintProcessModules(DWORD pid)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        return 1;
    HMODULE modules[512];
    DWORD bytes = 0;
    EnumProcessModules(process.get(), modules, sizeof modules, &bytes);
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(process.get(), modules[i], name, MAX_PATH))
            printf("%s\n", Utf8FromWide(name).c_str());
    }
    return 0;
}
