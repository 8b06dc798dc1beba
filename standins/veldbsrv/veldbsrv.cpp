// Stand-in server service for the tests and the demo.
#include "standins/veldbsrv/StandinService.h"

int main(int argc, char** argv)
{
    StandinService service(argc, argv);
    return service.Run();
}
