// A buffer the client library handed out, given back through its FreePtr entry on every
// path. Free() checks the entry first (a missing one is a DbDescError); the destructor,
// reached only when something else failed, frees quietly if it can.
#pragma once
#include <windows.h>

class LibraryBuffer {
public:
    LibraryBuffer() = default;
    ~LibraryBuffer();
    LibraryBuffer(const LibraryBuffer&) = delete;
    LibraryBuffer& operator=(const LibraryBuffer&) = delete;

    BYTE** Receive() { return &m_data; }
    const BYTE* Get() const { return m_data; }
    void Free();

private:
    BYTE* m_data = nullptr;
};
