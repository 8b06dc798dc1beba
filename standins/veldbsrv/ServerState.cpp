#include "standins/veldbsrv/ServerState.h"

#include <sstream>

int ServerState::CountCall(int entry)
{
    ++m_calls[entry];
    auto forced = m_data.failures.find(standin::EntryName(entry));
    return forced == m_data.failures.end() ? 0 : forced->second;
}

std::string ServerState::Query(const std::string& request)
{
    std::istringstream in(request);
    std::string verb, what;
    in >> verb >> what;
    if (verb == "count" && what == "connections")
        return std::to_string(m_connections);
    if (verb == "count" || verb == "fail") {
        int entry = standin::EntryByName(what.c_str());
        if (entry == standin::EntryCount)
            return "error: no entry " + what;
        if (verb == "count")
            return std::to_string(m_calls[entry]);
        int status = 0;
        if (!(in >> status))
            return "error: fail needs a status";
        return Fail(what, status);
    }
    if (verb == "load") {
        std::string path = request.substr(request.find(' ') + 1);
        StandinData data;
        std::string error;
        if (!data.Load(path, error))
            return "error: " + error;
        m_data = std::move(data);
        return "ok";
    }
    return "error: unknown request";
}

std::string ServerState::Fail(const std::string& entry, int status)
{
    if (status == 0)
        m_data.failures.erase(entry);
    else
        m_data.failures[entry] = status;
    return "ok";
}
