#include "dbclient/SecretText.h"

#include <cstring>

namespace {

// Through a volatile pointer, so that the compiler keeps the stores.
void Zero(char* text, size_t size)
{
    volatile char* p = text;
    for (size_t i = 0; i < size; ++i)
        p[i] = 0;
}

}  // namespace

SecretText::~SecretText()
{
    Wipe();
}

void SecretText::Assign(const char* text, size_t length)
{
    Wipe();
    m_length = length < Capacity ? length : Capacity - 1;
    if (m_length)
        std::memcpy(m_text, text, m_length);
}

void SecretText::Wipe()
{
    Zero(m_text, sizeof m_text);
    m_length = 0;
}

char* SecretText::Room()
{
    Wipe();
    return m_text;
}

void SecretText::TakeWritten()
{
    m_text[Capacity - 1] = '\0';
    m_length = std::strlen(m_text);
}
