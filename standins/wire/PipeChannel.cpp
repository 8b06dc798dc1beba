#include "standins/wire/PipeChannel.h"

#include "standins/wire/StandinProtocol.h"

namespace standin {

bool PipeChannel::Open(const std::string& name)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        HANDLE pipe = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (pipe != INVALID_HANDLE_VALUE) {
            m_pipe.Reset(pipe);
            return true;
        }
        if (GetLastError() != ERROR_PIPE_BUSY)
            return false;
        // Every instance taken: the server makes the next one at once.
        WaitNamedPipeA(name.c_str(), 500);
    }
    return false;
}

// Length and bytes in one write: a reader woken by the length alone would wait again.
bool PipeChannel::Send(const std::string& message)
{
    uint32_t size = static_cast<uint32_t>(message.size());
    std::string packet(4, '\0');
    for (int i = 0; i < 4; ++i)
        packet[i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    packet += message;
    return WriteAll(packet.data(), static_cast<DWORD>(packet.size()));
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
        if (!m_pipe || !WriteFile(m_pipe.Get(), data, size, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Reads whatever the pipe holds, in large pieces, until `size` bytes are waiting: one
// read takes a whole message as a rule.
bool PipeChannel::Fill(size_t size)
{
    char piece[65536];
    while (m_received.size() < size) {
        DWORD read = 0;
        if (!m_pipe || !ReadFile(m_pipe.Get(), piece, sizeof piece, &read, nullptr) || read == 0)
            return false;
        m_received.append(piece, read);
    }
    return true;
}

}  // namespace standin
