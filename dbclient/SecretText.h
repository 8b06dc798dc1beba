// A password, or its scrambled form, in a buffer that never moves: changed in place, and
// overwritten with zeros whenever it is emptied and when it goes, so that no copy of it
// is left behind in freed memory or in a temporary.
#pragma once
#include <cstddef>
#include <string>

class SecretText {
public:
    static const size_t Capacity = 128;      // the longest text is one byte shorter

    SecretText() = default;
    ~SecretText();
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;

    // Cut to fit.
    void Assign(const char* text, size_t length);
    void Assign(const std::string& text) { Assign(text.data(), text.size()); }
    void Assign(const SecretText& other) { Assign(other.Data(), other.Size()); }
    void Wipe();

    // Room for someone else to write a zero-terminated text into (Capacity bytes); then
    // TakeWritten() takes its length.
    char* Room();
    void TakeWritten();

    const char* Data() const { return m_text; }
    char* Data() { return m_text; }             // for changes in place
    size_t Size() const { return m_length; }
    bool Empty() const { return m_length == 0; }

private:
    char m_text[Capacity] = {};
    size_t m_length = 0;
};
