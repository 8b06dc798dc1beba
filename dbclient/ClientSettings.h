// The client settings record handed to the library at login: 251 bytes, packed, narrow
// zero-terminated texts. Its layout is fixed by the library, on 32 and 64 bit alike.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#pragma pack(push, 1)
struct ClientSettings {
    uint32_t size;              // always 251
    uint32_t version;           // always 4
    char user[32];
    char computer[32];
    char server[32];            // host; empty or "." is this machine
    char service[32];           // the server's pipe is named after it
    char reserved[32];          // always empty
    char openMode[32];
    uint8_t useBlob;
    uint8_t useLock;
    uint8_t enableEvents;
    uint32_t processId;
    uint32_t timeout;
    char password[32];
    uint32_t regDbPages;
    uint32_t regOwlPages;
};
#pragma pack(pop)

static_assert(sizeof(ClientSettings) == 251, "the library reads exactly 251 bytes");
static_assert(offsetof(ClientSettings, user) == 8, "layout");
static_assert(offsetof(ClientSettings, computer) == 40, "layout");
static_assert(offsetof(ClientSettings, server) == 72, "layout");
static_assert(offsetof(ClientSettings, service) == 104, "layout");
static_assert(offsetof(ClientSettings, reserved) == 136, "layout");
static_assert(offsetof(ClientSettings, openMode) == 168, "layout");
static_assert(offsetof(ClientSettings, useBlob) == 200, "layout");
static_assert(offsetof(ClientSettings, useLock) == 201, "layout");
static_assert(offsetof(ClientSettings, enableEvents) == 202, "layout");
static_assert(offsetof(ClientSettings, processId) == 203, "layout");
static_assert(offsetof(ClientSettings, timeout) == 207, "layout");
static_assert(offsetof(ClientSettings, password) == 211, "layout");
static_assert(offsetof(ClientSettings, regDbPages) == 243, "layout");
static_assert(offsetof(ClientSettings, regOwlPages) == 247, "layout");

// Copies a text into a fixed text field, cut to fit with its terminating zero.
template <size_t N>
void CopyFixedText(char (&field)[N], const char* text, size_t length)
{
    size_t n = length < N - 1 ? length : N - 1;
    for (size_t i = 0; i < n; ++i)
        field[i] = text[i];
    for (size_t i = n; i < N; ++i)
        field[i] = '\0';
}

template <size_t N>
void CopyFixedText(char (&field)[N], const std::string& text)
{
    CopyFixedText(field, text.data(), text.size());
}

// Overwrites the secrets of the record (the password) with zeros.
void WipeClientSettings(ClientSettings& settings);
