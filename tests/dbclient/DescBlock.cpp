#include "DescBlock.h"

namespace {

void Word(std::vector<uint8_t>& out, size_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

const size_t kHeader = 22, kFile = 60, kRecord = 12, kField = 20;

}  // namespace

size_t RecordEntryAt(size_t recordIndex)
{
    return kHeader + kFile + recordIndex * kRecord;
}

size_t FieldEntryAt(size_t recordCount, size_t fieldIndex)
{
    return RecordEntryAt(recordCount) + fieldIndex * kField;
}

std::vector<uint8_t> MakeDescBlock(const std::vector<BlockRecord>& records)
{
    size_t fieldCount = 0;
    for (const BlockRecord& r : records)
        fieldCount += r.fields.size();
    std::vector<uint8_t> out;
    for (size_t w : { size_t(3), size_t(1024), size_t(0), size_t(0), size_t(1), records.size(), fieldCount,
                      size_t(0), size_t(0), size_t(0), size_t(0) })
        Word(out, w);
    out.resize(out.size() + kFile, 0);
    size_t first = 0;
    for (const BlockRecord& r : records) {
        size_t length = 0;
        for (const BlockField& f : r.fields)
            length += f.length;
        for (size_t w : { size_t(0), length, size_t(0), first, r.fields.size(), size_t(0) })
            Word(out, w);
        first += r.fields.size();
    }
    for (size_t ri = 0; ri < records.size(); ++ri) {
        size_t offset = 0;
        for (const BlockField& f : records[ri].fields) {
            out.push_back(f.keyKind);
            out.push_back(static_cast<uint8_t>(f.type));
            for (size_t w : { size_t(f.length), size_t(0), size_t(0), size_t(0), size_t(0), size_t(0), offset, ri,
                              size_t(f.flags) })
                Word(out, w);
            offset += f.length;
        }
    }
    std::string names;
    for (const BlockRecord& r : records)
        names += r.name + "\n";
    for (const BlockRecord& r : records)
        for (const BlockField& f : r.fields)
            names += f.name + "\n";
    out.insert(out.end(), names.begin(), names.end());
    return out;
}
