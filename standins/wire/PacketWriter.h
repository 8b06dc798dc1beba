// Builds one message: 32-bit numbers and length-prefixed byte strings, little-endian.
#pragma once
#include <cstdint>
#include <string>

namespace standin {

class PacketWriter {
public:
    PacketWriter& Int(int32_t value);
    PacketWriter& Bytes(const void* data, size_t size);
    PacketWriter& Bytes(const std::string& data) { return Bytes(data.data(), data.size()); }

    const std::string& Data() const { return m_data; }

private:
    std::string m_data;
};

}  // namespace standin
