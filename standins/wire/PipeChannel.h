// One end of a pipe connection that carries whole messages (a 32-bit length, then the
// bytes), whatever pieces the pipe delivers them in.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

namespace standin {

class PipeChannel {
public:
    static const DWORD NoLimit = INFINITE;

    PipeChannel() = default;
    explicit PipeChannel(HANDLE pipe) : m_pipe(pipe) {}

    // Connects to a server's pipe ("\\\\.\\pipe\\veldbsrv"), waiting a while when all its
    // instances are busy. False when there is no such pipe, or none is free in time.
    // Every later send and receive gives up after `timeoutMs` without progress.
    bool Open(const std::string& name, DWORD timeoutMs = NoLimit);

    bool IsOpen() const { return static_cast<bool>(m_pipe); }
    void Close();

    bool Send(const std::string& message);
    bool Receive(std::string& message);

private:
    bool WriteAll(const char* data, DWORD size);
    bool Fill(size_t size);
    // One read or write; with a limit, cancelled when it does not complete in time.
    bool Transfer(bool write, char* data, DWORD size, DWORD& done);

    velutils::FileHandle m_pipe;
    velutils::KernelHandle m_event;     // set: the pipe was opened for overlapped I/O
    DWORD m_timeoutMs = NoLimit;
    std::string m_received;             // read from the pipe, not yet taken as a message
};

}  // namespace standin
