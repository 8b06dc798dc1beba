#include "standins/veldbcli/LibraryHeap.h"

#include <new>

HANDLE LibraryHeap::Handle()
{
    static HANDLE heap = HeapCreate(0, 0, 0);
    return heap;
}

void* LibraryHeap::Allocate(size_t size)
{
    return HeapAlloc(Handle(), 0, size ? size : 1);
}

void LibraryHeap::Free(void* block)
{
    if (block)
        HeapFree(Handle(), 0, block);
}

// The library's C++ allocations: this library links its own copy of the C++ runtime,
// so these replace the operators for its code alone.
void* operator new(size_t size)
{
    if (void* block = LibraryHeap::Allocate(size))
        return block;
    throw std::bad_alloc();
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return LibraryHeap::Allocate(size);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return LibraryHeap::Allocate(size);
}

void operator delete(void* block) noexcept
{
    LibraryHeap::Free(block);
}

void operator delete[](void* block) noexcept
{
    LibraryHeap::Free(block);
}

void operator delete(void* block, size_t) noexcept
{
    LibraryHeap::Free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    LibraryHeap::Free(block);
}
