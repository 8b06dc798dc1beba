#include "standins/veldbsrv/PipeServer.h"

#include "standins/veldbsrv/ClientSession.h"
#include "standins/wire/PipeChannel.h"

namespace {

const DWORD kBufferSize = 64 * 1024;

// What a connection's thread is given; the thread owns it.
struct NewConnection {
    std::shared_ptr<ServerState> state;
    HANDLE pipe;
};

}  // namespace

PipeServer::PipeServer(std::shared_ptr<ServerState> state, const std::string& pipeName)
    : m_state(std::move(state)), m_path("\\\\.\\pipe\\" + pipeName)
{
}

PipeServer::~PipeServer()
{
    Stop();
}

bool PipeServer::Start()
{
    HANDLE first = NewInstance(true);
    if (first == INVALID_HANDLE_VALUE)
        return false;
    m_accept = std::thread(&PipeServer::Accept, this, first);
    return true;
}

void PipeServer::Stop()
{
    if (!m_accept.joinable())
        return;
    m_stopping = true;
    // A connection of our own wakes the waiting accept.
    standin::PipeChannel wake;
    wake.Open(m_path);
    m_accept.join();
}

HANDLE PipeServer::NewInstance(bool first) const
{
    DWORD mode = PIPE_ACCESS_DUPLEX | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    return CreateNamedPipeA(m_path.c_str(), mode, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                            PIPE_UNLIMITED_INSTANCES, kBufferSize, kBufferSize, 0, nullptr);
}

// The next instance is made as soon as one is taken, so that a client finds the pipe
// busy for a moment at most, never missing.
void PipeServer::Accept(HANDLE pending)
{
    while (pending != INVALID_HANDLE_VALUE) {
        bool connected = ConnectNamedPipe(pending, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
        if (m_stopping) {
            CloseHandle(pending);
            return;
        }
        HANDLE next = NewInstance(false);
        if (connected)
            StartServing(pending);
        else
            CloseHandle(pending);
        pending = next;
    }
}

// The thread runs on by itself; its handle is not needed.
void PipeServer::StartServing(HANDLE pipe)
{
    NewConnection* connection = new NewConnection{ m_state, pipe };
    velutils::KernelHandle thread(CreateThread(nullptr, 0, ServeThread, connection, 0, nullptr));
    if (thread)
        return;
    delete connection;
    CloseHandle(pipe);
}

DWORD WINAPI PipeServer::ServeThread(void* context)
{
    std::unique_ptr<NewConnection> connection(static_cast<NewConnection*>(context));
    Serve(*connection->state, connection->pipe);
    return 0;
}

// After FreeDbHandler the answer is read before the client closes its end: waiting for
// that close keeps the answer from being thrown away with the connection.
void PipeServer::Serve(ServerState& state, HANDLE pipe)
{
    standin::PipeChannel channel(pipe);
    ClientSession session(state);
    std::string request;
    bool done = false;
    while (channel.Receive(request)) {
        if (done)
            continue;
        if (!channel.Send(session.Answer(request, done)))
            break;
    }
}
