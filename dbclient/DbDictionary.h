// The database dictionary as the server hands it out in a description block: a header
// of eleven 16-bit words, seven tables of fixed-size entries and the names. Every count,
// offset and length is checked against the block before use. No Windows headers here:
// the reader is fuzzed natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A block that does not fit its own counts, or a field that does not fit its record.
class DictFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DictRecord {
    uint16_t file = 0;
    uint16_t recordLength = 0;
    uint16_t dataOffset = 0;
    uint16_t firstField = 0;       // index into the field table
    uint16_t fieldCount = 0;
    uint16_t flags = 0;
    std::string name;              // upper-cased

    uint32_t DataLength() const { return static_cast<uint32_t>(recordLength - dataOffset); }
};

struct DictField {
    uint8_t keyKind = 0;           // 0 none, else a key
    char type = 0;                 // type letter: c s i l d f F g k
    uint16_t length = 0;
    uint16_t dims[3] = {};
    uint16_t keyFile = 0;
    uint16_t keyNumber = 0;
    uint16_t offset = 0;           // in the record; the image starts at the data offset
    uint16_t recordType = 0;       // index of its record type
    uint16_t flags = 0;
    std::string name;              // upper-cased

    enum : uint16_t { Unsigned = 4 };
    bool IsUnsigned() const { return (flags & Unsigned) != 0; }
};

class DbDictionary {
public:
    enum Table { FileTable, RecordTable, FieldTable, SetTable, MemberTable, SortTable, KeyTable, TableCount };
    static const size_t HeaderSize = 22;
    static const size_t EntrySize[TableCount];   // 60 12 20 12 8 4 8

    // Reads a block; throws DictFormatError when it does not fit.
    static DbDictionary Read(const uint8_t* data, size_t size);

    uint16_t HeaderWord(int i) const { return m_header[i]; }   // 0..3: version, page size
    uint16_t Count(Table t) const { return m_header[4 + t]; }
    const std::vector<uint8_t>& RawTable(Table t) const { return m_tables[t]; }

    const std::vector<DictRecord>& RecordTypes() const { return m_records; }
    const std::vector<DictField>& Fields() const { return m_fields; }

    // Index of the record type of that name, ignoring case; -1 when unknown.
    int FindRecord(const std::string& name) const;
    // Index within the record type of its field of that name, ignoring case; -1 when unknown.
    int FindField(int record, const std::string& name) const;
    // Field of the record type by its index within it; null when out of range.
    const DictField* FieldOf(int record, int index) const;
    // Offset of the field in the record image (past the data offset).
    static size_t ImageOffset(const DictRecord& record, const DictField& field);

    // "DB_CHARACTER" for "c" and so on; empty for an unknown letter.
    static const char* TypeName(char letter);

private:
    void ReadTables(const uint8_t* data, size_t size, size_t& pos);
    void ReadRecords();
    void ReadFields();
    void ReadNames(const uint8_t* data, size_t size, size_t pos);
    void CheckLayout() const;

    uint16_t m_header[11] = {};
    std::vector<uint8_t> m_tables[TableCount];
    std::vector<DictRecord> m_records;
    std::vector<DictField> m_fields;
};

// Upper-cases ASCII letters and the code page 1250 letters with an upper case.
std::string DictUpper(const std::string& text);
char DictUpperChar(char c);
// Whether two names are the same ignoring case.
bool DictNamesEqual(const std::string& a, const std::string& b);
