#include "dbclient/RdmFld.h"

#include <cstring>

#include "dbclient/DbDesc.h"
#include "dbclient/FieldText.h"
#include "utils/DbDescError.h"

namespace {
const int kNotConvertible = 2006;
const int kUnknownField = 2003;
}  // namespace

RdmFld::RdmFld(const DbDesc& db, const std::string& table, const std::string& name, int number,
               std::vector<uint8_t>* record)
    : m_db(&db), m_table(table), m_name(name), m_number(number), m_entry(db.FieldByNumber(number)),
      m_record(record)
{
    const DictRecord& rec = db.Dictionary().RecordTypes()[number / 1000];
    m_offset = DbDictionary::ImageOffset(rec, m_entry);
}

void RdmFld::ThrowNotConvertible() const
{
    throw DbDescError(kNotConvertible, VEL_ERRPOS("RdmFld"), StrVector{ m_table, m_name });
}

// The field does not lie inside the record the description gives its table.
void RdmFld::ThrowOutOfImage() const
{
    throw DbDescError(kUnknownField, VEL_ERRPOS("RdmFld"), StrVector{ m_db->Name() + ".fld: " + std::to_string(m_number) });
}

void RdmFld::CheckConvertible() const
{
    if (m_entry.type == 'g' || m_entry.type == 'k')
        ThrowNotConvertible();
}

const std::string& RdmFld::AsText()
{
    CheckConvertible();
    if (m_detached)
        return m_cache;
    // The field is looked up again by number, as the record's layout states it.
    const DictField& entry = m_db->FieldByNumber(m_number);
    fieldtext::Result r = fieldtext::Read(entry, m_record->data(), m_record->size(), m_offset, m_cache);
    if (r == fieldtext::Result::OutOfImage)
        ThrowOutOfImage();
    return m_cache;
}

char RdmFld::AsChar()
{
    const std::string& text = AsText();
    return text.empty() ? '\0' : text[0];
}

long RdmFld::AsNumber()
{
    CheckConvertible();
    if (m_entry.type == 'c') {
        if (m_entry.length != 1)
            ThrowNotConvertible();
        return static_cast<signed char>(AsChar());
    }
    // An integer straight from the record: the number its text form reads as.
    long long value = 0;
    if (!m_detached) {
        const DictField& entry = m_db->FieldByNumber(m_number);
        fieldtext::Result r = fieldtext::ReadInteger(entry, m_record->data(), m_record->size(), m_offset, value);
        if (r == fieldtext::Result::OutOfImage)
            ThrowOutOfImage();
        if (r == fieldtext::Result::Ok)
            return static_cast<long>(value);
    }
    return static_cast<long>(std::strtoll(AsText().c_str(), nullptr, 10));
}

void RdmFld::SetNumber(long value)
{
    // A one-byte character field holds a small number as its byte, which is how
    // AsNumber reads it back.
    if (m_entry.type == 'c' && m_entry.length == 1) {
        SetText(std::string(1, static_cast<char>(value)));
        return;
    }
    SetText(std::to_string(value));
}

bool RdmFld::TextEquals(const char* text, size_t length)
{
    CheckConvertible();
    bool equal = false;
    if (!m_detached && m_entry.type == 'c' && m_entry.length > 1) {
        if (fieldtext::CharactersEqual(m_entry, m_record->data(), m_record->size(), m_offset, text, length, equal)
            == fieldtext::Result::OutOfImage)
            ThrowOutOfImage();
        return equal;
    }
    const std::string& value = AsText();
    return value.size() == length && std::memcmp(value.data(), text, length) == 0;
}

void RdmFld::WipeCache()
{
    m_cache.resize(m_cache.capacity());       // all it may hold of longer values before
    volatile char* p = &m_cache[0];
    for (size_t i = 0; i < m_cache.size(); ++i)
        p[i] = 0;
    m_cache.clear();
}

void RdmFld::SetText(const std::string& text)
{
    CheckConvertible();
    if (!m_detached)
        fieldtext::Write(m_entry, text, m_record->data(), m_record->size(), m_offset);
    m_cache = text;
}
