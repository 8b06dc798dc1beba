#include "framework/ResText.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "framework/CWinApp.h"
#include "utils/ErrorText.h"

namespace {

char g_buffer[2048];

}  // namespace

const char* FormatResString(unsigned id, ...)
{
    std::string format;
    DWORD failure = 0;
    if (!velutils::TryLoadResText(id, CWinApp::ResourceHandle(), std::string(), format, failure)) {
        g_buffer[0] = '\0';
        return g_buffer;
    }
    va_list args;
    va_start(args, id);
    if (vsnprintf(g_buffer, sizeof g_buffer, format.c_str(), args) < 0)
        g_buffer[0] = '\0';
    va_end(args);
    return g_buffer;
}
