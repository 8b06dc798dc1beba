// One named field of a table, read and written as text in the table's current record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dbclient/DbDictionary.h"

class DbDesc;

class RdmFld {
public:
    // `record` is the owning table's buffer; a detached field keeps only its text.
    RdmFld(const DbDesc& db, const std::string& table, const std::string& name, int number,
           std::vector<uint8_t>* record);

    const std::string& Name() const { return m_name; }
    int Number() const { return m_number; }
    const DictField& Entry() const { return m_entry; }
    void Detach() { m_detached = true; }
    bool IsDetached() const { return m_detached; }

    // The text form of the value ("g"/"k": DbDescError 2006); kept in the cache.
    const std::string& AsText();
    void CopyAsText(std::string& out) { out = AsText(); }
    // First character of the text form; 0 for an empty text.
    char AsChar();
    // "c" of length 1: its signed byte; longer "c": 2006; else the text as a decimal.
    // A long has 32 bits on both targets: an unsigned 32-bit value above 2147483647 comes
    // back as the long of the same bits (4294967295 as -1), which SetNumber writes back
    // unchanged; its decimal value is AsText.
    long AsNumber();
    // The value into the field ("c" of length 1 takes it as its byte value).
    void SetNumber(long value);
    // The text into the field of the current record (cut to fit), unless detached.
    void SetText(const std::string& text);
    // Whether the text form equals `text`; a character field is compared where the record
    // holds it, without a copy of its value.
    bool TextEquals(const char* text, size_t length);
    // Overwrites the text kept of the value with zeros.
    void WipeCache();

private:
    void CheckConvertible() const;
    void ThrowNotConvertible() const;
    void ThrowOutOfImage() const;

    const DbDesc* m_db;
    std::string m_table;
    std::string m_name;
    int m_number;
    DictField m_entry;
    size_t m_offset = 0;              // in the record image
    std::vector<uint8_t>* m_record;
    std::string m_cache;
    bool m_detached = false;
};
