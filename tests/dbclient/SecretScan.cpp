#include "SecretScan.h"

#include <cstring>
#include <vector>

namespace {

const DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                        PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// The allocations a heap's blocks lie in, used or free.
void AddHeapAllocations(HANDLE heap, std::set<void*>& bases)
{
    if (!HeapLock(heap))
        return;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
        MEMORY_BASIC_INFORMATION memory;
        if (VirtualQuery(entry.lpData, &memory, sizeof memory) == sizeof memory)
            bases.insert(memory.AllocationBase);
    }
    HeapUnlock(heap);
}

}  // namespace

// The program's memory: every heap but the allowed one, this thread's stack and the
// modules' data. What the system keeps for itself elsewhere (Wine's own stack of a
// system call on 32-bit, say) is not the program's.
std::set<void*> SecretScan::ProgramAllocations() const
{
    std::set<void*> bases;
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    for (HANDLE heap : heaps)
        if (heap != m_allowedHeap)
            AddHeapAllocations(heap, bases);
    MEMORY_BASIC_INFORMATION stack;
    if (VirtualQuery(&stack, &stack, sizeof stack) == sizeof stack)
        bases.insert(stack.AllocationBase);
    bases.erase(nullptr);
    return bases;
}

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
    std::set<void*> program = ProgramAllocations();
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const char* at = static_cast<const char*>(system.lpMinimumApplicationAddress);
    size_t found = 0;
    MEMORY_BASIC_INFORMATION memory;
    while (at < system.lpMaximumApplicationAddress && VirtualQuery(at, &memory, sizeof memory) == sizeof memory) {
        const char* base = static_cast<const char*>(memory.BaseAddress);
        bool ours = memory.Type == MEM_IMAGE || program.count(memory.AllocationBase);
        if (memory.State == MEM_COMMIT && (memory.Protect & kReadable) && !(memory.Protect & PAGE_GUARD) && ours)
            found += CountIn(base, memory.RegionSize, secret);
        at = base + memory.RegionSize;
    }
    return found;
}
