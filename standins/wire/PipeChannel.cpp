#include "standins/wire/PipeChannel.h"

#include <algorithm>

#include "standins/wire/StandinProtocol.h"

namespace standin {

namespace {

const DWORD kPiece = 65536;
const DWORD kBusyWaitMs = 500;

DWORD Elapsed(DWORD since)
{
    return GetTickCount() - since;
}

}  // namespace

bool PipeChannel::Open(const std::string& name, DWORD timeoutMs)
{
    Close();
    DWORD start = GetTickCount();
    DWORD flags = timeoutMs == NoLimit ? 0 : FILE_FLAG_OVERLAPPED;
    for (int attempt = 0; attempt < 20; ++attempt) {
        HANDLE pipe = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags, nullptr);
        if (pipe != INVALID_HANDLE_VALUE) {
            m_pipe.Reset(pipe);
            if (flags)
                m_event.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
            m_timeoutMs = timeoutMs;
            return !flags || m_event;
        }
        if (GetLastError() != ERROR_PIPE_BUSY || (timeoutMs != NoLimit && Elapsed(start) >= timeoutMs))
            return false;
        // Every instance taken: the server makes the next one at once.
        DWORD wait = timeoutMs == NoLimit ? kBusyWaitMs : std::min(kBusyWaitMs, timeoutMs - Elapsed(start));
        WaitNamedPipeA(name.c_str(), wait);
    }
    return false;
}

void PipeChannel::Close()
{
    m_pipe.Reset();
    m_event.Reset();
    m_received.clear();
}

// Length and bytes in one write: a reader woken by the length alone would wait again.
bool PipeChannel::Send(const std::string& message)
{
    uint32_t size = static_cast<uint32_t>(message.size());
    std::string packet(4, '\0');
    for (int i = 0; i < 4; ++i)
        packet[i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    packet += message;
    return WriteAll(&packet[0], static_cast<DWORD>(packet.size()));
}

bool PipeChannel::Receive(std::string& message)
{
    if (!Fill(4))
        return false;
    const unsigned char* header = reinterpret_cast<const unsigned char*>(m_received.data());
    uint32_t size = header[0] | header[1] << 8 | header[2] << 16 | static_cast<uint32_t>(header[3]) << 24;
    if (size > kMaxMessage || !Fill(4 + size))
        return false;
    message.assign(m_received, 4, size);
    m_received.erase(0, 4 + size);
    return true;
}

bool PipeChannel::WriteAll(const char* data, DWORD size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!Transfer(true, const_cast<char*>(data), size, written) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Reads whatever the pipe holds, in large pieces straight into what is kept, until
// `size` bytes are waiting: one read takes a whole message as a rule.
bool PipeChannel::Fill(size_t size)
{
    if (m_received.capacity() < size)
        m_received.reserve(size);
    while (m_received.size() < size) {
        size_t have = m_received.size();
        m_received.resize(have + kPiece);
        DWORD read = 0;
        bool ok = Transfer(false, &m_received[have], kPiece, read) && read > 0;
        m_received.resize(have + read);
        if (!ok)
            return false;
    }
    return true;
}

bool PipeChannel::Transfer(bool write, char* data, DWORD size, DWORD& done)
{
    done = 0;
    if (!m_pipe)
        return false;
    if (!m_event) {
        return (write ? WriteFile(m_pipe.Get(), data, size, &done, nullptr)
                      : ReadFile(m_pipe.Get(), data, size, &done, nullptr)) != FALSE;
    }
    OVERLAPPED io = {};
    io.hEvent = m_event.Get();
    BOOL started = write ? WriteFile(m_pipe.Get(), data, size, nullptr, &io)
                         : ReadFile(m_pipe.Get(), data, size, nullptr, &io);
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (WaitForSingleObject(m_event.Get(), m_timeoutMs) != WAIT_OBJECT_0) {
        // No answer in time: the transfer is called off before its buffer goes.
        CancelIo(m_pipe.Get());
        GetOverlappedResult(m_pipe.Get(), &io, &done, TRUE);
        done = 0;
        return false;
    }
    return GetOverlappedResult(m_pipe.Get(), &io, &done, FALSE) != FALSE;
}

}  // namespace standin
