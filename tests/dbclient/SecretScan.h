// Counts where a secret's bytes stand in the program's memory (heaps, stack, modules' data),
// past one heap that is somebody else's affair (the client library's) and the test's own copies.
#pragma once
#include <windows.h>

#include <set>
#include <string>

class SecretScan {
public:
    explicit SecretScan(HANDLE allowedHeap) : m_allowedHeap(allowedHeap) {}

    // A copy the test holds itself (a string that does not move); not counted.
    void Own(const std::string& copy) { m_own.insert(copy.data()); }
    size_t Count(const std::string& secret) const;

private:
    std::set<void*> ProgramAllocations() const;
    size_t CountIn(const char* begin, size_t size, const std::string& secret) const;

    HANDLE m_allowedHeap;
    std::set<const char*> m_own;
};
