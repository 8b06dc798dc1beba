#include "utils/AssertBox.h"

#include "utils/ErrorText.h"
#include "utils/TextFormat.h"

namespace velutils {

namespace {

const size_t kAssertTextSize = 2048;   // a longer text is cut

}  // namespace

void ShowAssertError(const std::string& what, DWORD code, const char* file, int line)
{
    try {
        std::string text = FormatBounded(kAssertTextSize, "%s (%d)\r\n Original error: %s\r\n File:%s\r\n Line:%d",
                                         what.c_str(), static_cast<int>(code), SysErrText(code).c_str(),
                                         file ? file : "", line);
        MessageBoxA(nullptr, text.c_str(), "ASSERT ERROR", MB_ICONHAND);
    } catch (...) {
        // Reporting a failure must not become one.
    }
}

}  // namespace velutils
