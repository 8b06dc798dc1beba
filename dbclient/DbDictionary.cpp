#include "dbclient/DbDictionary.h"

namespace {

uint16_t Word(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Bytes a number of each type occupies; 0 where the field's length says it.
size_t NaturalSize(char type)
{
    switch (type) {
    case 's': return 2;
    case 'i': case 'l': case 'd': case 'f': return 4;
    case 'F': return 8;
    default: return 0;
    }
}

unsigned char UpperByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF)         // accented small letters of 1250
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: case 0x9C: case 0x9D: case 0x9E: case 0x9F: return static_cast<unsigned char>(c - 0x10);
    case 0xB3: return 0xA3;
    case 0xB9: return 0xA5;
    case 0xBA: return 0xAA;
    case 0xBE: return 0xBC;
    case 0xBF: return 0xAF;
    default: return c;
    }
}

}  // namespace

const size_t DbDictionary::EntrySize[TableCount] = { 60, 12, 20, 12, 8, 4, 8 };

std::string DictUpper(const std::string& text)
{
    std::string out(text);
    for (char& c : out)
        c = DictUpperChar(c);
    return out;
}

char DictUpperChar(char c)
{
    return static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
}

bool DictNamesEqual(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && DictUpper(a) == DictUpper(b);
}

DbDictionary DbDictionary::Read(const uint8_t* data, size_t size)
{
    if (!data || size < HeaderSize)
        throw DictFormatError("description block shorter than its header");
    DbDictionary dict;
    for (int i = 0; i < 11; ++i)
        dict.m_header[i] = Word(data + 2 * i);
    size_t pos = HeaderSize;
    dict.ReadTables(data, size, pos);
    dict.ReadRecords();
    dict.ReadFields();
    dict.ReadNames(data, size, pos);
    dict.CheckLayout();
    return dict;
}

void DbDictionary::ReadTables(const uint8_t* data, size_t size, size_t& pos)
{
    for (int t = 0; t < TableCount; ++t) {
        size_t bytes = static_cast<size_t>(Count(static_cast<Table>(t))) * EntrySize[t];
        if (bytes > size - pos)
            throw DictFormatError("description block shorter than its tables");
        m_tables[t].assign(data + pos, data + pos + bytes);
        pos += bytes;
    }
}

void DbDictionary::ReadRecords()
{
    const std::vector<uint8_t>& raw = m_tables[RecordTable];
    for (size_t at = 0; at < raw.size(); at += EntrySize[RecordTable]) {
        const uint8_t* p = raw.data() + at;
        DictRecord r;
        r.file = Word(p);
        r.recordLength = Word(p + 2);
        r.dataOffset = Word(p + 4);
        r.firstField = Word(p + 6);
        r.fieldCount = Word(p + 8);
        r.flags = Word(p + 10);
        m_records.push_back(r);
    }
}

void DbDictionary::ReadFields()
{
    const std::vector<uint8_t>& raw = m_tables[FieldTable];
    for (size_t at = 0; at < raw.size(); at += EntrySize[FieldTable]) {
        const uint8_t* p = raw.data() + at;
        DictField f;
        f.keyKind = p[0];
        f.type = static_cast<char>(p[1]);
        f.length = Word(p + 2);
        for (int d = 0; d < 3; ++d)
            f.dims[d] = Word(p + 4 + 2 * d);
        f.keyFile = Word(p + 10);
        f.keyNumber = Word(p + 12);
        f.offset = Word(p + 14);
        f.recordType = Word(p + 16);
        f.flags = Word(p + 18);
        m_fields.push_back(f);
    }
}

void DbDictionary::ReadNames(const uint8_t* data, size_t size, size_t pos)
{
    size_t wanted = m_records.size() + m_fields.size();
    for (size_t n = 0; n < wanted; ++n) {
        if (pos >= size)
            throw DictFormatError("description block ends before its names");
        size_t end = pos;
        while (end < size && data[end] != '\n')
            ++end;
        std::string name = DictUpper(std::string(reinterpret_cast<const char*>(data + pos), end - pos));
        if (n < m_records.size())
            m_records[n].name = name;
        else
            m_fields[n - m_records.size()].name = name;
        pos = end + 1;
    }
}

void DbDictionary::CheckLayout() const
{
    for (size_t r = 0; r < m_records.size(); ++r) {
        const DictRecord& rec = m_records[r];
        if (rec.dataOffset > rec.recordLength)
            throw DictFormatError("record type " + rec.name + ": data offset past its length");
        if (rec.fieldCount > 999 || static_cast<size_t>(rec.firstField) + rec.fieldCount > m_fields.size())
            throw DictFormatError("record type " + rec.name + ": fields beyond the field table");
        for (size_t i = rec.firstField; i < static_cast<size_t>(rec.firstField) + rec.fieldCount; ++i) {
            const DictField& f = m_fields[i];
            if (f.recordType != r)
                throw DictFormatError("field " + f.name + " belongs to another record type");
            if (f.offset < rec.dataOffset || f.offset + static_cast<size_t>(f.length) > rec.recordLength)
                throw DictFormatError("field " + f.name + " lies outside its record");
            if (f.length < NaturalSize(f.type))
                throw DictFormatError("field " + f.name + " is shorter than its type");
        }
    }
}

int DbDictionary::FindRecord(const std::string& name) const
{
    std::string wanted = DictUpper(name);
    for (size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].name == wanted)
            return static_cast<int>(i);
    return -1;
}

int DbDictionary::FindField(int record, const std::string& name) const
{
    if (record < 0 || static_cast<size_t>(record) >= m_records.size())
        return -1;
    std::string wanted = DictUpper(name);
    const DictRecord& rec = m_records[record];
    for (int i = 0; i < rec.fieldCount; ++i)
        if (m_fields[rec.firstField + i].name == wanted)
            return i;
    return -1;
}

const DictField* DbDictionary::FieldOf(int record, int index) const
{
    if (record < 0 || static_cast<size_t>(record) >= m_records.size())
        return nullptr;
    const DictRecord& rec = m_records[record];
    if (index < 0 || index >= rec.fieldCount)
        return nullptr;
    return &m_fields[rec.firstField + index];
}

size_t DbDictionary::ImageOffset(const DictRecord& record, const DictField& field)
{
    return static_cast<size_t>(field.offset - record.dataOffset);
}

const char* DbDictionary::TypeName(char letter)
{
    switch (letter) {
    case 'F': return "DB_DOUBLE";
    case 'c': return "DB_CHARACTER";
    case 'd': return "DB_DBADDR";
    case 'f': return "DB_FLOAT";
    case 'g': return "DB_GROUPED";
    case 'i': return "DB_REGINT";
    case 'k': return "DB_COMKEY";
    case 'l': return "DB_LONGINT";
    case 's': return "DB_SHORTINT";
    default: return "";
    }
}
