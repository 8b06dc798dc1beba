// Field values inside record images: written from the data file's readable text,
// compared as the field's type orders them, and read as numbers.
#pragma once
#include <string>

#include "standins/veldbsrv/StandinData.h"

// Writes `text` into the field's bytes of `image` (which is long enough).
void WriteFieldText(const StandinField& field, const char* text, std::string& image);

// <0, 0, >0 as the field value at `a` orders against the one at `b`.
int CompareFieldValue(const StandinField& field, const char* a, const char* b);

// The field's value as a number (a "c" field of length 1: its byte).
long long FieldNumber(const StandinField& field, const std::string& image);

// The characters of a "c" field up to its first zero.
std::string FieldText(const StandinField& field, const std::string& image);
