#include "dbclient/DbDesc.h"

#include "utils/DbDescError.h"

namespace {
const int kUnknownRecordType = 2002;
const int kUnknownField = 2003;
const int kDamagedDescription = 2004;
}  // namespace

DbDesc::DbDesc(const uint8_t* block, size_t size, int number, const std::string& name, int handle)
    : m_number(number), m_name(DictUpper(name)), m_handle(handle)
{
    try {
        m_dict = DbDictionary::Read(block, size);
    } catch (const DictFormatError& e) {
        throw DbDescError(kDamagedDescription, VEL_ERRPOS("DbDesc::DbDesc"), StrVector{ m_name, e.what() });
    }
    m_lists.resize(m_dict.RecordTypes().size());
}

int DbDesc::RecordTypeNumber(const std::string& table) const
{
    int index = m_dict.FindRecord(table);
    return index < 0 ? -1 : RecordTypeBase + index;
}

const DictRecord& DbDesc::RecordType(int recordTypeNumber) const
{
    int index = recordTypeNumber - RecordTypeBase;
    if (index < 0 || static_cast<size_t>(index) >= m_dict.RecordTypes().size())
        throw DbDescError(kUnknownRecordType, VEL_ERRPOS("DbDesc::RecordType"),
                          StrVector{ m_name + ".rec: " + std::to_string(recordTypeNumber) });
    return m_dict.RecordTypes()[index];
}

const DictField& DbDesc::FieldByNumber(int fieldNumber) const
{
    const DictField* field = m_dict.FieldOf(fieldNumber / 1000, fieldNumber % 1000);
    if (fieldNumber < 0 || !field)
        throw DbDescError(kUnknownField, VEL_ERRPOS("DbDesc::FieldByNumber"),
                          StrVector{ m_name + ".fld: " + std::to_string(fieldNumber) });
    return *field;
}

int DbDesc::FieldNumber(const std::string& table, const std::string& field) const
{
    int record = m_dict.FindRecord(table);
    int index = m_dict.FindField(record, field);
    return index < 0 ? -1 : record * 1000 + index;
}

RecordList& DbDesc::List(int recordTypeNumber)
{
    int index = recordTypeNumber - RecordTypeBase;
    if (index < 0 || static_cast<size_t>(index) >= m_lists.size())
        throw DbDescError(kUnknownRecordType, VEL_ERRPOS("DbDesc::List"),
                          StrVector{ m_name + ".rec: " + std::to_string(recordTypeNumber) });
    return m_lists[static_cast<size_t>(index)];
}

const FieldSqlInfo* DbDesc::SqlInfo(int fieldNumber) const
{
    auto it = m_sql.find(fieldNumber);
    return it == m_sql.end() ? nullptr : &it->second;
}

int32_t DbDesc::BlobFileId(const std::string& alias) const
{
    auto it = m_blobFiles.find(DictUpper(alias));
    if (it == m_blobFiles.end())
        throw DbDescError(kUnknownField, VEL_ERRPOS("DbDesc::BlobFileId"),
                          StrVector{ "SYS.FILEBLOBS.FB_ALIAS:" + alias });
    return it->second;
}

void DbDesc::SetBlobFile(const std::string& alias, int32_t fileId)
{
    m_blobFiles[DictUpper(alias)] = fileId;
}
