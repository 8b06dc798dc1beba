// The time from expanding "Kiegészítő modulok" to the filled node, the login dialog
// answered, for catalogues of 10, 100 and 1,000 library functions (a third triggers, a
// third jobs, a third methods; ten functions per library), with the library calls the
// stand-in server counted. The time is the median of 5 expansions with the lowest and
// highest.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Spread.h"
#include "tests/catalog/CatalogWindow.h"
#include "tests/catalog/CatalogueFile.h"
#include "tests/catalog/ClientSettingsKey.h"
#include "StandinServer.h"

namespace {

const int kRounds = 5;
const char* const kCountedCalls[] = { "InitUserEx", "OpenDbExA", "GetDbDescription", "DefineKey", "FindRec",
                                      "FindList", "GetAllRec", "FreeDbHandler" };

CatalogueFile Catalogue(int functions)
{
    CatalogueFile catalogue;
    catalogue.Table(1, 1, "vevok");
    catalogue.Tablespace(1, "FO");
    for (int f = 0; f < functions; ++f) {
        int library = f / 10 + 1;
        if (f % 10 == 0)
            catalogue.Library(library, "konyvtar" + std::to_string(library) + ".dll");
        std::string name = "Fuggveny" + std::to_string(f);
        catalogue.Function(f + 1, library, name);
        if (f % 3 == 0)
            catalogue.Trigger(library, f + 1, 1, f % 11, 1);
        else if (f % 3 == 1)
            catalogue.Job("konyvtar" + std::to_string(library) + ".dll::" + name, "munka", "60", 1);
    }
    return catalogue;
}

long CountedCalls(const StandinServer& server)
{
    long total = 0;
    for (const char* call : kCountedCalls)
        total += std::max(0L, server.Count(call));
    return total;
}

}  // namespace

int main()
{
    printf("%10s %10s %24s %12s %12s %14s\n", "functions", "rows", "ms (lowest..highest)", "calls", "DefineKey",
           "us per call");
    for (int functions : { 10, 100, 1000 }) {
        ConfigDir data;
        StandinServer server;
        server.StartFile(Catalogue(functions).Write(data.FilePath("catalogue.xml")));
        ClientSettingsKey settings("KONYVELES", server.PipeName());
        std::vector<double> times;
        long calls = 0, keys = 0;
        size_t rows = 0;
        for (int round = 0; round < kRounds; ++round) {
            CatalogWindow window({ "konyveles" });
            HTREEITEM modules = window.Modules("konyveles");
            long before = CountedCalls(server), keysBefore = server.Count("DefineKey");
            double start = NowMs();
            window.PressRight(modules);
            if (!window.AnswerLogin("admin", "admin")) {
                fprintf(stderr, "the login dialog was not answered\n");
                return 1;
            }
            times.push_back(NowMs() - start);
            calls = CountedCalls(server) - before;
            keys = server.Count("DefineKey") - keysBefore;
            rows = window.Rows(modules).size();
        }
        Spread time = Spread::Of(times);
        printf("%10d %10zu ", functions, rows);
        time.Print();
        printf(" %12ld %12ld %14.1f\n", calls, keys, 1000.0 * time.median / calls);
    }
    return 0;
}
