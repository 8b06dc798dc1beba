// The texts of windows as a test reads them: a window's own, and its children's in
// creation order (of one class only, when it is given).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

inline std::vector<std::string> ChildTexts(HWND parent, const char* className = nullptr)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (!className || lstrcmpiA(name, className) == 0)
            texts.push_back(WindowText(child));
    }
    return texts;
}

// The texts joined, each followed by `separator`.
inline std::string Joined(const std::vector<std::string>& texts, const char* separator = "|")
{
    std::string joined;
    for (const std::string& text : texts)
        joined += text + separator;
    return joined;
}
