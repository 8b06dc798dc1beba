#include "standins/veldbsrv/DescriptionBlock.h"

#include <cstdint>
#include <cstring>

namespace {

const size_t kFileEntry = 60;
const uint16_t kDictionaryVersion = 300;
const uint16_t kPageSize = 1024;

void Word(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

// One data file per record type: its name, then type, slot size and page size.
void FileEntry(std::string& out, const StandinRecord& record, size_t index)
{
    std::string entry(kFileEntry, '\0');
    std::string name = "rec" + std::to_string(index) + ".dat";
    memcpy(&entry[0], name.data(), name.size());
    std::string tail;
    Word(tail, 'd');
    Word(tail, record.dataLength);
    Word(tail, kPageSize);
    memcpy(&entry[48], tail.data(), tail.size());
    out += entry;
}

}  // namespace

std::string BuildDescriptionBlock(const StandinDatabase& db)
{
    uint16_t fieldCount = 0;
    for (const auto& record : db.records)
        fieldCount = static_cast<uint16_t>(fieldCount + record.fields.size());
    uint16_t recordCount = static_cast<uint16_t>(db.records.size());

    std::string out;
    Word(out, kDictionaryVersion);
    Word(out, 0);
    Word(out, kPageSize);
    Word(out, 0);
    uint16_t counts[7] = { recordCount, recordCount, fieldCount, 0, 0, 0, 0 };
    for (uint16_t count : counts)
        Word(out, count);

    for (size_t i = 0; i < db.records.size(); ++i)
        FileEntry(out, db.records[i], i);
    uint16_t firstField = 0;
    for (size_t i = 0; i < db.records.size(); ++i) {
        const StandinRecord& record = db.records[i];
        Word(out, static_cast<uint16_t>(i));                    // file
        Word(out, record.dataLength);                           // record length
        Word(out, 0);                                           // data offset
        Word(out, firstField);
        Word(out, static_cast<uint16_t>(record.fields.size()));
        Word(out, 0);                                           // flags
        firstField = static_cast<uint16_t>(firstField + record.fields.size());
    }
    uint16_t keyNumber = 0;
    for (size_t i = 0; i < db.records.size(); ++i) {
        for (const StandinField& field : db.records[i].fields) {
            out.push_back(field.keyKind);
            out.push_back(field.type);
            Word(out, field.length);
            Word(out, 0);                                       // three dimensions
            Word(out, 0);
            Word(out, 0);
            Word(out, field.keyKind == 'n' ? 0 : static_cast<uint16_t>(i));     // key file
            Word(out, field.keyKind == 'n' ? 0 : keyNumber++);
            Word(out, field.offset);
            Word(out, static_cast<uint16_t>(i));
            Word(out, field.flags);
        }
    }
    for (const auto& record : db.records)
        out += record.name + "\n";
    for (const auto& record : db.records) {
        for (const auto& field : record.fields)
            out += field.name + "\n";
    }
    return out;
}
