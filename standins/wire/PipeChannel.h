// One end of a pipe connection that carries whole messages (a 32-bit length, then the
// bytes), whatever pieces the pipe delivers them in.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

namespace standin {

class PipeChannel {
public:
    PipeChannel() = default;
    explicit PipeChannel(HANDLE pipe) : m_pipe(pipe) {}

    // Connects to a server's pipe ("\\\\.\\pipe\\veldbsrv"), waiting a while when all its
    // instances are busy. False when there is no such pipe.
    bool Open(const std::string& name);

    bool IsOpen() const { return static_cast<bool>(m_pipe); }
    void Close()
    {
        m_pipe.Reset();
        m_received.clear();
    }

    bool Send(const std::string& message);
    bool Receive(std::string& message);

private:
    bool WriteAll(const char* data, DWORD size);
    bool Fill(size_t size);

    velutils::FileHandle m_pipe;
    std::string m_received;     // read from the pipe, not yet taken as a message
};

}  // namespace standin
