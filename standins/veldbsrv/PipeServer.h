// Serves the stand-in's databases on a named pipe: one thread waits for clients, each
// connection gets a thread and a session of its own.
// A connection's thread is a plain Win32 thread: a std::thread detached at once could
// start without its argument (the MinGW threads library let go of it first), which
// crashed the server now and then on a client's first request.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "standins/veldbsrv/ServerState.h"

class PipeServer {
public:
    PipeServer(std::shared_ptr<ServerState> state, const std::string& pipeName);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // False when the pipe cannot be made (another server holds the name).
    bool Start();
    // Takes no new clients; connections already made run on until their clients go.
    void Stop();

private:
    void Accept(HANDLE first);
    HANDLE NewInstance(bool first) const;
    void StartServing(HANDLE pipe);
    static DWORD WINAPI ServeThread(void* connection);
    static void Serve(ServerState& state, HANDLE pipe);

    std::shared_ptr<ServerState> m_state;
    std::string m_path;
    std::atomic<bool> m_stopping{ false };
    std::thread m_accept;
};
