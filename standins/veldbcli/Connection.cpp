#include "standins/veldbcli/Connection.h"

#include "standins/wire/PacketReader.h"
#include "standins/wire/StandinProtocol.h"

bool Connection::Connect(const std::string& pipePath, uint32_t timeoutMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_channel.IsOpen())
        return true;
    m_broken = !m_channel.Open(pipePath, timeoutMs ? timeoutMs : standin::PipeChannel::NoLimit);
    return !m_broken;
}

int Connection::Call(const standin::PacketWriter& request, std::string& payload)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string answer;
    // After a transfer that failed or timed out, an answer may still be on its way: it
    // would be taken for the answer to the next request, so the pipe is given up.
    if (m_broken || !m_channel.IsOpen() || !m_channel.Send(request.Data()) || !m_channel.Receive(answer)) {
        m_broken = true;
        m_channel.Close();
        return standin::kUnreachable;
    }
    standin::PacketReader in(answer);
    int32_t status = 0;
    if (!in.Int(status))
        return standin::kUnreachable;
    payload = answer.substr(4);
    return status;
}

void Connection::Close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_channel.Close();
}

void Connection::SetKey(int db, int recordType, int keyField, int length)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_keys[{ db, recordType }] = Key{ keyField, length };
}

bool Connection::HasKey(int db, int recordType, int keyField) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_keys.find({ db, recordType });
    return found != m_keys.end() && found->second.field == keyField && !m_broken;
}

int Connection::KeyLength(int db, int recordType) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_keys.find({ db, recordType });
    return found == m_keys.end() ? 0 : found->second.length;
}
