// Answers modal boxes of this thread from inside their own message loops: a thread timer
// finds each shown box by its caption, lets the test look at it, then presses a button.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalBoxAnswerer {
public:
    using Look = std::function<void(HWND box)>;
    using Steps = std::vector<std::pair<std::string, Look>>;

    // `button` 0: the look closes the box itself.
    ModalBoxAnswerer(const std::string& caption, int button, Look look = Look());
    // Boxes one after another, each found by its caption and closed by its look.
    explicit ModalBoxAnswerer(Steps steps);
    ~ModalBoxAnswerer();
    ModalBoxAnswerer(const ModalBoxAnswerer&) = delete;
    ModalBoxAnswerer& operator=(const ModalBoxAnswerer&) = delete;

    // Every box was found; how many were.
    bool Answered() const { return m_next == m_steps.size(); }
    size_t Taken() const { return m_next; }

    // The texts of the box's static controls, in creation order.
    static std::vector<std::string> StaticTexts(HWND box);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    static ModalBoxAnswerer* s_current;
    Steps m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
};
