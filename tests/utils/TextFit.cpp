#include "TextFit.h"

#include "tests/utils/WindowText.h"
#include "utils/UniqueHandle.h"

namespace {

// The lines from `first` on, a few of them, as the failure's evidence.
std::string Evidence(const std::vector<std::string>& lines, size_t first)
{
    std::string shown;
    for (size_t i = first; i < lines.size() && i < first + 4; ++i)
        shown += "[" + lines[i] + "]";
    return shown;
}

// The control's font selected into a DC of the screen for the scope.
class ControlDc {
public:
    explicit ControlDc(HWND control)
        : m_dc(CreateCompatibleDC(nullptr)),
          m_old(SelectObject(m_dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0))))
    {
    }
    ~ControlDc() { SelectObject(m_dc.Get(), m_old); }
    HDC Get() const { return m_dc.Get(); }
    int LineHeight() const
    {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(m_dc.Get(), &metrics);
        return metrics.tmHeight;
    }

private:
    velutils::MemoryDc m_dc;
    HGDIOBJ m_old;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> EditLines(HWND edit)
{
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char buffer[1024] = {};
        *reinterpret_cast<WORD*>(buffer) = sizeof buffer - 1;
        LRESULT length = SendMessageA(edit, EM_GETLINE, i, reinterpret_cast<LPARAM>(buffer));
        lines.emplace_back(buffer, static_cast<size_t>(length));
    }
    return lines;
}

::testing::AssertionResult ShowsWhole(HWND edit)
{
    const std::string text = WindowText(edit);
    const std::vector<std::string> lines = EditLines(edit);
    size_t at = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (text.compare(at, lines[i].size(), lines[i]) != 0)
            return ::testing::AssertionFailure() << "line " << i << " is not the text: " << Evidence(lines, i);
        at += lines[i].size();
        // A line ends at a line break or between words; the blanks there may be left out.
        size_t blanks = 0;
        while (at < text.size() && IsBlank(text[at]))
            ++at, ++blanks;
        if (text.compare(at, 2, "\r\n") == 0)
            at += 2;
        else if (i + 1 < lines.size() && blanks == 0 && !(at > 0 && IsBlank(text[at - 1])))
            return ::testing::AssertionFailure() << "a word is broken after line " << i << ": " << Evidence(lines, i);
    }
    if (at != text.size())
        return ::testing::AssertionFailure() << "the lines miss the end of the text: " << Evidence(lines, 0);
    RECT format = {};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int needed = static_cast<int>(lines.size()) * ControlDc(edit).LineHeight();
    const bool scrolls = (GetWindowLongPtrA(edit, GWL_STYLE) & WS_VSCROLL) != 0;
    if (format.bottom - format.top < needed && !scrolls)
        return ::testing::AssertionFailure() << lines.size() << " lines need " << needed << " pixels, the field has "
                                             << format.bottom - format.top << ": " << Evidence(lines, 0);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FitsItsControl(HWND control)
{
    // An empty field still has to hold a line of its font.
    const std::string text = WindowText(control).empty() ? std::string("Ág") : WindowText(control);
    RECT client = {};
    GetClientRect(control, &client);
    char windowClass[32] = "";
    GetClassNameA(control, windowClass, sizeof windowClass);
    const bool button = lstrcmpiA(windowClass, "Button") == 0;
    ControlDc dc(control);
    RECT needed = { 0, 0, client.right, 0 };
    DrawTextA(dc.Get(), text.c_str(), -1, &needed,
              DT_CALCRECT | DT_NOPREFIX | (button ? DT_SINGLELINE : DT_WORDBREAK));
    if (needed.right > client.right || needed.bottom > client.bottom)
        return ::testing::AssertionFailure() << "\"" << text << "\" needs " << needed.right << " x " << needed.bottom
                                             << " pixels, its control has " << client.right << " x " << client.bottom;
    return ::testing::AssertionSuccess();
}
