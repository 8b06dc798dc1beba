// The description block reader: any bytes either read or fail with DictFormatError, and
// what reads is consistent enough to look fields up by name and number.
#include <cstddef>
#include <cstdint>

#include "dbclient/DbDictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        DbDictionary dict = DbDictionary::Read(data, size);
        for (size_t r = 0; r < dict.RecordTypes().size(); ++r) {
            const DictRecord& rec = dict.RecordTypes()[r];
            if (dict.FindRecord(rec.name) < 0)
                __builtin_trap();
            for (int i = 0; i < rec.fieldCount; ++i) {
                const DictField* f = dict.FieldOf(static_cast<int>(r), i);
                if (!f || DbDictionary::ImageOffset(rec, *f) + f->length > rec.DataLength())
                    __builtin_trap();
                dict.FindField(static_cast<int>(r), f->name);
            }
        }
    } catch (const DictFormatError&) {
    }
    return 0;
}
