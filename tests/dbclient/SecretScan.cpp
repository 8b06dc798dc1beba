#include "SecretScan.h"

#include <cstring>

namespace {

const DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                        PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// The allocations the heap's blocks lie in, used or free.
std::set<void*> HeapAllocations(HANDLE heap)
{
    std::set<void*> bases;
    if (!heap || !HeapLock(heap))
        return bases;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
        MEMORY_BASIC_INFORMATION memory;
        if (VirtualQuery(entry.lpData, &memory, sizeof memory) == sizeof memory)
            bases.insert(memory.AllocationBase);
    }
    HeapUnlock(heap);
    return bases;
}

}  // namespace

size_t SecretScan::CountIn(const char* begin, size_t size, const std::string& secret) const
{
    size_t found = 0;
    const char* end = begin + size;
    for (const char* at = begin; static_cast<size_t>(end - at) >= secret.size(); ++at) {
        at = static_cast<const char*>(memchr(at, secret[0], static_cast<size_t>(end - at) - secret.size() + 1));
        if (!at)
            break;
        if (!m_own.count(at) && memcmp(at, secret.data(), secret.size()) == 0)
            ++found;
    }
    return found;
}

size_t SecretScan::Count(const std::string& secret) const
{
    if (secret.empty())
        return 0;
    std::set<void*> allowed = HeapAllocations(m_allowedHeap);
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const char* at = static_cast<const char*>(system.lpMinimumApplicationAddress);
    size_t found = 0;
    MEMORY_BASIC_INFORMATION memory;
    while (at < system.lpMaximumApplicationAddress && VirtualQuery(at, &memory, sizeof memory) == sizeof memory) {
        const char* base = static_cast<const char*>(memory.BaseAddress);
        if (memory.State == MEM_COMMIT && (memory.Protect & kReadable) && !(memory.Protect & PAGE_GUARD) &&
            !allowed.count(memory.AllocationBase))
            found += CountIn(base, memory.RegionSize, secret);
        at = base + memory.RegionSize;
    }
    return found;
}
