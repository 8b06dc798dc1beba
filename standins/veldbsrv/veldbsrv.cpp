// Stand-in server for the tests and the demo: the Win32 service "veldbsrv", or with
// --serve DATAFILE PIPENAME a plain process that serves until its standard input closes.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "standins/veldbsrv/PipeServer.h"
#include "standins/veldbsrv/StandinService.h"

namespace {

int ServeUntilInputEnds(const char* dataFile, const char* pipeName)
{
    StandinData data;
    std::string error;
    if (!data.Load(dataFile, error)) {
        fprintf(stderr, "veldbsrv: %s\n", error.c_str());
        return 2;
    }
    PipeServer server(std::make_shared<ServerState>(std::move(data)), pipeName);
    if (!server.Start()) {
        fprintf(stderr, "veldbsrv: cannot make the pipe %s\n", pipeName);
        return 3;
    }
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    }
    server.Stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "--serve") == 0)
        return ServeUntilInputEnds(argv[2], argv[3]);
    StandinService service(argc, argv);
    return service.Run();
}
