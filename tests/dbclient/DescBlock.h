// Description blocks laid out as the server hands them out, made from a short list of
// record types and fields, for the tests and the benchmark.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct BlockField {
    std::string name;
    char type;
    uint16_t length;
    uint16_t flags = 0;
    uint8_t keyKind = 0;
};

struct BlockRecord {
    std::string name;
    std::vector<BlockField> fields;
};

// Fields packed in order from offset 0; data offset 0; one file.
std::vector<uint8_t> MakeDescBlock(const std::vector<BlockRecord>& records);

// Byte offsets in the block, for the tests that spoil it.
size_t RecordEntryAt(size_t recordIndex);
size_t FieldEntryAt(size_t recordCount, size_t fieldIndex);
