// Text forms of field values: the first bytes choose a field (type, length, flags,
// offset), the rest is the record image. Reading never leaves the image, numbers and
// characters read without a text agree with the text, and a text written back reads
// back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dbclient/FieldText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    static const char types[] = "csildfFgkx";
    DictField field;
    field.type = types[data[0] % (sizeof types - 1)];
    field.length = data[1] % 40;
    field.flags = data[2] & 4;
    size_t offset = data[3] % 48;
    std::vector<uint8_t> image(data + 4, data + size);    // exactly the bytes, so ASan sees overruns
    std::string text;
    if (fieldtext::Read(field, image.data(), image.size(), offset, text) != fieldtext::Result::Ok)
        return 0;
    // A number read straight from the image is the one its text shows; a character field
    // compared in the image equals its text.
    long long number = 0;
    if (fieldtext::ReadInteger(field, image.data(), image.size(), offset, number) == fieldtext::Result::Ok &&
        std::to_string(number) != text)
        __builtin_trap();
    bool equal = false;
    if (fieldtext::CharactersEqual(field, image.data(), image.size(), offset, text.data(), text.size(), equal) ==
            fieldtext::Result::Ok && !equal)
        __builtin_trap();
    if (fieldtext::Write(field, text, image.data(), image.size(), offset) != fieldtext::Result::Ok)
        __builtin_trap();
    std::string again;
    fieldtext::Read(field, image.data(), image.size(), offset, again);
    // NaN payloads and "c" texts longer than the field minus its zero may change.
    bool exempt = (field.type == 'c' && field.length > 1 && text.size() >= field.length) || text == "nan" ||
                  text == "-nan";
    if (again != text && !exempt)
        __builtin_trap();
    return 0;
}
