// What all connections of the stand-in server share: the data served, the calls counted
// per entry, the statuses forced on entries and the connections open. One lock guards
// it all; a connection holds it for the whole of one request.
#pragma once
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "standins/veldbsrv/StandinData.h"
#include "standins/wire/StandinProtocol.h"

class ServerState {
public:
    explicit ServerState(StandinData data) : m_data(std::move(data)) {}

    std::mutex& Mutex() { return m_mutex; }
    StandinData& Data() { return m_data; }      // under Mutex()

    // Counts a call of the entry; the status forced on it, or 0. Under Mutex().
    int CountCall(int entry);
    // Whether the entry answers success with an empty record. Under Mutex().
    bool AnswersEmpty(int entry) const { return m_empty.count(entry) != 0; }

    void AddConnection() { ++m_connections; }   // under Mutex()
    void RemoveConnection() { --m_connections; }

    // The test requests: "count connections", "count <Entry>", "fail <Entry> <status>
    // [after <calls>]", "empty <Entry> [off]", "load <file>". Under Mutex().
    std::string Query(const std::string& request);

private:
    std::string Fail(const std::string& entry, int status, long after);

    std::mutex m_mutex;
    StandinData m_data;
    long m_calls[standin::EntryCount] = {};
    std::map<std::string, long> m_failAfter;   // calls an entry still answers before its failure
    std::set<int> m_empty;
    int m_connections = 0;
};
