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

bool PipeChannel::Send(const std::string& message)
{
    uint32_t size = static_cast<uint32_t>(message.size());
    char header[4];
    for (int i = 0; i < 4; ++i)
        header[i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    return WriteAll(header, 4) && WriteAll(message.data(), size);
}

bool PipeChannel::Receive(std::string& message)
{
    unsigned char header[4];
    if (!ReadAll(reinterpret_cast<char*>(header), 4))
        return false;
    uint32_t size = header[0] | header[1] << 8 | header[2] << 16 | static_cast<uint32_t>(header[3]) << 24;
    if (size > kMaxMessage)
        return false;
    message.resize(size);
    return size == 0 || ReadAll(&message[0], size);
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

bool PipeChannel::ReadAll(char* data, DWORD size)
{
    while (size > 0) {
        DWORD read = 0;
        if (!m_pipe || !ReadFile(m_pipe.Get(), data, size, &read, nullptr) || read == 0)
            return false;
        data += read;
        size -= read;
    }
    return true;
}

}  // namespace standin
