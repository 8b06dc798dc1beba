#include "standins/wire/PacketWriter.h"

namespace standin {

PacketWriter& PacketWriter::Int(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        m_data.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return *this;
}

PacketWriter& PacketWriter::Bytes(const void* data, size_t size)
{
    Int(static_cast<int32_t>(size));
    if (size)
        m_data.append(static_cast<const char*>(data), size);
    return *this;
}

}  // namespace standin
