#include "standins/veldbsrv/ServerState.h"

#include <sstream>

int ServerState::CountCall(int entry)
{
    ++m_calls[entry];
    auto forced = m_data.failures.find(standin::EntryName(entry));
    if (forced == m_data.failures.end())
        return 0;
    auto after = m_failAfter.find(forced->first);
    if (after != m_failAfter.end() && after->second > 0) {
        --after->second;
        return 0;
    }
    return forced->second;
}

std::string ServerState::Query(const std::string& request)
{
    std::istringstream in(request);
    std::string verb, what;
    in >> verb >> what;
    if (verb == "count" && what == "connections")
        return std::to_string(m_connections);
    if (verb == "count" || verb == "fail" || verb == "empty") {
        int entry = standin::EntryByName(what.c_str());
        if (entry == standin::EntryCount)
            return "error: no entry " + what;
        if (verb == "count")
            return std::to_string(m_calls[entry]);
        std::string option;
        if (verb == "empty") {
            if (in >> option && option == "off")
                m_empty.erase(entry);
            else
                m_empty.insert(entry);
            return "ok";
        }
        int status = 0;
        long after = 0;
        if (!(in >> status))
            return "error: fail needs a status";
        if (in >> option && (option != "after" || !(in >> after) || after < 0))
            return "error: fail takes \"after <calls>\" at its end";
        return Fail(what, status, after);
    }
    if (verb == "load") {
        std::string path = request.substr(request.find(' ') + 1);
        StandinData data;
        std::string error;
        if (!data.Load(path, error))
            return "error: " + error;
        m_data = std::move(data);
        m_failAfter.clear();
        return "ok";
    }
    return "error: unknown request";
}

std::string ServerState::Fail(const std::string& entry, int status, long after)
{
    m_failAfter.erase(entry);
    if (status == 0) {
        m_data.failures.erase(entry);
        return "ok";
    }
    m_data.failures[entry] = status;
    if (after > 0)
        m_failAfter[entry] = after;
    return "ok";
}
