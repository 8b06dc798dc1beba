#include "standins/wire/PacketReader.h"

namespace standin {

bool PacketReader::Int(int32_t& value)
{
    if (m_data.size() - m_pos < 4)
        return false;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<unsigned char>(m_data[m_pos + i])) << (8 * i);
    m_pos += 4;
    value = static_cast<int32_t>(v);
    return true;
}

bool PacketReader::Bytes(std::string& value)
{
    int32_t size = 0;
    if (!Int(size) || size < 0 || m_data.size() - m_pos < static_cast<size_t>(size))
        return false;
    value.assign(m_data, m_pos, static_cast<size_t>(size));
    m_pos += static_cast<size_t>(size);
    return true;
}

}  // namespace standin
