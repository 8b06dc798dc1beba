#include "standins/veldbsrv/StandinData.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include <tinyxml.h>

#include "standins/veldbsrv/FieldValue.h"

namespace {

bool SameName(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

uint16_t DefaultLength(char type)
{
    switch (type) {
    case 's': return 2;
    case 'i': case 'l': case 'd': case 'f': return 4;
    case 'F': return 8;
    default: return 0;
    }
}

std::string Where(const TiXmlElement* element)
{
    return " (line " + std::to_string(element->Row()) + ")";
}

bool ReadField(const TiXmlElement* element, StandinRecord& record, std::string& error)
{
    StandinField field;
    const char* name = element->Attribute("name");
    const char* type = element->Attribute("type");
    if (!name || !*name || !type || strlen(type) != 1) {
        error = "a field needs a name and a one-letter type" + Where(element);
        return false;
    }
    if (record.FieldIndex(name) >= 0) {
        error = std::string("field ") + name + " twice" + Where(element);
        return false;
    }
    field.name = name;
    field.type = type[0];
    const char* length = element->Attribute("length");
    long value = length ? strtol(length, nullptr, 10) : DefaultLength(field.type);
    if (value <= 0 || value > 4096) {
        error = std::string("field ") + name + " needs a length" + Where(element);
        return false;
    }
    field.length = static_cast<uint16_t>(value);
    const char* key = element->Attribute("key");
    field.keyKind = key && strcmp(key, "unique") == 0 ? 'u' : (key && strcmp(key, "dup") == 0 ? 'd' : 'n');
    const char* isUnsigned = element->Attribute("unsigned");
    field.flags = isUnsigned && strcmp(isUnsigned, "yes") == 0 ? 4 : 0;
    const char* scrambled = element->Attribute("scrambled");
    field.scrambled = scrambled && strcmp(scrambled, "yes") == 0;
    if (record.dataLength + field.length > 0xFFFF) {
        error = "record " + record.name + " too long" + Where(element);
        return false;
    }
    field.offset = record.dataLength;
    record.dataLength = static_cast<uint16_t>(record.dataLength + field.length);
    record.fields.push_back(field);
    return true;
}

bool ReadRow(const TiXmlElement* element, StandinRecord& record, uint32_t id, std::string& error)
{
    StandinRow row;
    row.id = id;
    row.image.assign(record.dataLength, '\0');
    for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
        int index = record.FieldIndex(a->Name());
        if (index < 0) {
            error = "record " + record.name + " has no field " + a->Name() + Where(element);
            return false;
        }
        WriteFieldText(record.fields[static_cast<size_t>(index)], a->Value(), row.image);
    }
    record.rows.push_back(row);
    return true;
}

bool ReadRecord(const TiXmlElement* element, StandinData& data, StandinDatabase& db, std::string& error)
{
    StandinRecord record;
    const char* name = element->Attribute("name");
    if (!name || !*name || db.RecordIndex(name) >= 0) {
        error = "a record needs a name of its own" + Where(element);
        return false;
    }
    record.name = name;
    for (const TiXmlElement* e = element->FirstChildElement("field"); e; e = e->NextSiblingElement("field")) {
        if (!ReadField(e, record, error))
            return false;
    }
    for (const TiXmlElement* e = element->FirstChildElement("row"); e; e = e->NextSiblingElement("row")) {
        if (!ReadRow(e, record, data.nextRowId++, error))
            return false;
    }
    db.records.push_back(record);
    return true;
}

bool ReadHex(const char* hex, std::string& bytes)
{
    size_t n = strlen(hex);
    if (n % 2)
        return false;
    for (size_t i = 0; i < n; i += 2) {
        char pair[3] = { hex[i], hex[i + 1], 0 };
        char* end = nullptr;
        long value = strtol(pair, &end, 16);
        if (*end)
            return false;
        bytes.push_back(static_cast<char>(value));
    }
    return true;
}

bool ReadDatabase(const TiXmlElement* element, StandinData& data, std::string& error)
{
    StandinDatabase db;
    const char* name = element->Attribute("name");
    int number = 0;
    if (!name || !*name || element->QueryIntAttribute("number", &number) != TIXML_SUCCESS) {
        error = "a database needs a number and a name" + Where(element);
        return false;
    }
    db.number = number;
    db.name = name;
    if (const char* hex = element->Attribute("description")) {
        db.ownDescription = true;
        if (!ReadHex(hex, db.description)) {
            error = "description is not hexadecimal" + Where(element);
            return false;
        }
    }
    for (const TiXmlElement* e = element->FirstChildElement("record"); e; e = e->NextSiblingElement("record")) {
        if (!ReadRecord(e, data, db, error))
            return false;
    }
    data.databases.push_back(db);
    return true;
}

}  // namespace

int StandinRecord::FieldIndex(const std::string& wanted) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (SameName(fields[i].name, wanted.c_str()))
            return static_cast<int>(i);
    }
    return -1;
}

int StandinDatabase::RecordIndex(const std::string& wanted) const
{
    for (size_t i = 0; i < records.size(); ++i) {
        if (SameName(records[i].name, wanted.c_str()))
            return static_cast<int>(i);
    }
    return -1;
}

bool StandinData::Load(const std::string& path, std::string& error)
{
    TiXmlDocument doc(path.c_str());
    if (!doc.LoadFile(TIXML_ENCODING_LEGACY)) {
        error = path + ": " + doc.ErrorDesc() + " (line " + std::to_string(doc.ErrorRow()) + ")";
        return false;
    }
    const TiXmlElement* root = doc.RootElement();
    if (!root || strcmp(root->Value(), "veldbdata") != 0) {
        error = path + ": the root element is not veldbdata";
        return false;
    }
    const char* check = root->Attribute("logincheck");
    checkLogins = !check || strcmp(check, "off") != 0;
    for (const TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        if (strcmp(e->Value(), "database") == 0) {
            if (!ReadDatabase(e, *this, error))
                return false;
        }
    }
    return true;
}

StandinDatabase* StandinData::Find(int number)
{
    for (auto& db : databases) {
        if (db.number == number)
            return &db;
    }
    return nullptr;
}

StandinDatabase* StandinData::FindByName(const std::string& name)
{
    for (auto& db : databases) {
        if (SameName(db.name, name.c_str()))
            return &db;
    }
    return nullptr;
}
