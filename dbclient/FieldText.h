// The text form of a field value in a record image, and writing a text back so that it
// reads back the same. No Windows headers here: it reads bytes the library hands out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "dbclient/DbDictionary.h"

namespace fieldtext {

enum class Result { Ok, NotConvertible, OutOfImage };

// The text form of the field at `offset` of the image; a field that does not lie wholly
// inside the image is OutOfImage, a "g" or "k" field NotConvertible.
Result Read(const DictField& field, const uint8_t* image, size_t imageSize, size_t offset, std::string& text);

// The value of an integer field ("s", "i", "l", "d") as its text form reads as a number,
// without making the text. NotConvertible for any other type.
Result ReadInteger(const DictField& field, const uint8_t* image, size_t imageSize, size_t offset, long long& value);

// Whether a "c" field longer than one byte holds exactly `text` (up to its zero),
// compared in the image itself without a copy. OutOfImage when it does not lie inside
// the image, NotConvertible for any other field.
Result CharactersEqual(const DictField& field, const uint8_t* image, size_t imageSize, size_t offset,
                       const char* text, size_t length, bool& equal);

// Writes `text` into the field: "c" cut to fit with its zero, numbers in decimal
// (unparsable text writes 0), "f"/"F" as decimal numbers.
Result Write(const DictField& field, const std::string& text, uint8_t* image, size_t imageSize, size_t offset);

// Text of a double with the fewest digits that read back the same value.
std::string NumberText(double value, bool asFloat);

}  // namespace fieldtext
