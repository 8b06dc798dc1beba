// Everything the stand-in library allocates, its working copies as well as the buffers
// it hands out, comes from a heap of its own: a test can then tell the library's memory
// from the program's. The heap lives as long as the library is loaded (it is never
// destroyed: static objects free into it while the library unloads).
#pragma once
#include <windows.h>

#include <cstddef>

class LibraryHeap {
public:
    static HANDLE Handle();
    static void* Allocate(size_t size);         // null when the heap is full
    static void Free(void* block);
};
