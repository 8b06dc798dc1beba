// Reads one message written by PacketWriter. Every read checks what is left, so a short
// or garbled message fails the read instead of reading past its end.
#pragma once
#include <cstdint>
#include <string>

namespace standin {

class PacketReader {
public:
    explicit PacketReader(const std::string& data) : m_data(data) {}

    bool Int(int32_t& value);
    bool Bytes(std::string& value);

private:
    const std::string& m_data;
    size_t m_pos = 0;
};

}  // namespace standin
