// Answers a modal box of this thread from inside its own message loop: a thread timer
// finds the shown box by its caption, lets the test look at it, then presses a button.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalBoxAnswerer {
public:
    using Look = std::function<void(HWND box)>;

    // `button` 0: the look closes the box itself.
    ModalBoxAnswerer(const std::string& caption, int button, Look look = Look());
    ~ModalBoxAnswerer();
    ModalBoxAnswerer(const ModalBoxAnswerer&) = delete;
    ModalBoxAnswerer& operator=(const ModalBoxAnswerer&) = delete;

    bool Answered() const { return m_answered; }

    // The texts of the box's static controls, in creation order.
    static std::vector<std::string> StaticTexts(HWND box);
    static std::string Text(HWND window);

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    static ModalBoxAnswerer* s_current;
    std::string m_caption;
    int m_button;
    Look m_look;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    bool m_answered = false;
};
