// One table (record type) of an open database: the current record, its named fields,
// and the searches, steps and changes through the client library. A search that finds
// nothing returns false; every other library status is a DbDescError.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dbclient/RdmFld.h"

class DbDesc;
struct RecordList;

class RdmTable {
public:
    enum Step { First = 0, Prev = 1, Next = 2, Last = 3, Current = 4 };
    // Positioning modes of the record list.
    enum ListMode { ListFirst = 0, ListPrev = 1, ListNext = 2, ListLast = 3, BeforeFirst = 5 };
    enum Search { List, ListOr, Greater, Less, All, Between };

    // Opens `table` (any case) of the description; DbDescError 2002 when unknown.
    RdmTable(DbDesc& db, const std::string& table);
    virtual ~RdmTable();
    RdmTable(const RdmTable&) = delete;
    RdmTable& operator=(const RdmTable&) = delete;

    const std::string& Name() const { return m_name; }
    int RecordType() const { return m_recordType; }
    DbDesc& Db() const { return *m_db; }

    // Steps along the key field `keyName` (First..Current); false when there is no record.
    // Success without a record is a failure of the library entry (DbDescError 2007).
    virtual bool StepRecord(int step, const std::string& keyName);
    // The same after defining the key.
    virtual bool StepRecordWithKey(int step, const std::string& keyName);

    // Defines the search key at the server, by field name or field number.
    virtual void DefineKey(const std::string& keyName);
    virtual void DefineKey(int keyField);

    // Find by the key value in the current record, by field number or (after defining the
    // key) by name; the found record becomes current. False when nothing is found.
    virtual bool FindByKey(int keyField);
    virtual bool FindByKey(const std::string& keyName, int mode = 0);
    virtual bool FindNextMatch(int keyField);
    virtual bool FindNextMatch(const std::string& keyName);
    virtual bool FindPrevMatch(int keyField);
    virtual bool FindPrevMatch(const std::string& keyName);

    // List searches by the key value in the current record; the found records replace the
    // list, positioned by `mode`. An empty key name lists every record of the table.
    virtual bool FindList(const std::string& keyName, int mode);
    virtual bool FindListOr(const std::string& keyName, int mode);
    virtual bool FindGreater(const std::string& keyName, int mode);
    virtual bool FindLess(const std::string& keyName, int mode);
    virtual bool GetAllRec(int mode);
    // Keys from `low` to the field's value in the current record... low from the record,
    // high given as the key field's text.
    virtual bool FindBetween(const std::string& keyName, const std::string& high, int mode);
    // The same searches appending to the list, without positioning it.
    virtual bool AppendSearch(Search search, const std::string& keyName, const std::string& high = std::string());
    // Any search by its kind; `append` keeps the list and does not position it.
    virtual bool ListSearch(Search search, const std::string& keyName, int mode, bool append,
                            const std::string& high = std::string());

    // Positions the list (ListMode); false on an empty list or no such record; 2005 for
    // an unknown mode.
    virtual bool PositionList(int mode);
    // The next record of the list into the buffer; false at its end.
    virtual bool NextOfList();
    virtual int ListIndex() const;
    // -1 allowed (before the first); below -1 or past the end gives false.
    virtual bool SetListIndex(int index);
    virtual size_t ListCount() const;
    virtual void ClearList();

    virtual void ClearBuffer();
    // Overwrites the record and the text kept by each field with zeros (a row that holds
    // a secret, such as a user's stored password).
    void WipeRecord();
    virtual bool ReRead();                       // the current record again
    virtual void NewRecord();
    virtual void ModifyRecord();
    virtual void DeleteRecord();
    virtual void Truncate();                     // empties the table's file
    virtual int32_t NextId();
    virtual int32_t Count();

    // Whether the field (by number) is a compound key ("k").
    virtual bool IsCompoundKey(int fieldNumber) const;
    // direct: a field of exactly that name (ignoring case); else a known qualified name.
    virtual bool HasField(const std::string& name, bool direct = true) const;
    // The field by name or qualified name; DbDescError 2003 when unknown.
    virtual RdmFld& Field(const std::string& name);
    RdmFld& Field(const char* name);              // the same, without a string made per call
    // Text form of a field by name; empty text for an unknown name.
    virtual std::string FieldText(const std::string& name);
    virtual bool FieldEquals(const std::string& name, const std::string& text);
    // Maps a qualified name ("TABLE.FIELD") to a field name of this table.
    virtual void AddAlias(const std::string& qualified, const std::string& field);

    const std::vector<uint8_t>& Record() const { return m_record; }
    std::vector<uint8_t>& Record() { return m_record; }

private:
    int KeyFieldNumber(const std::string& keyName) const;
    uint16_t KeyLength(int keyField) const;
    std::vector<uint8_t> KeyValue(int keyField) const;
    bool FindCall(int entry, int keyField);
    bool StepCall(int entry, int keyField);
    void ChangeCall(int entry);
    bool RunSearch(Search search, int keyField, const std::string& high, RecordList& found);
    void TakeRecord(const RecordList& list, size_t index);
    RecordList& OwnList() const;
    std::string FieldKey(const std::string& name) const;
    RdmFld* FindField(const std::string& name);
    RdmFld* FindField(const char* name, size_t length);

    DbDesc* m_db;
    std::string m_name;
    std::string m_prefix;                            // "NAME.", of qualified field names
    int m_recordType;
    std::vector<uint8_t> m_record;
    std::map<std::string, RdmFld> m_fields;          // by upper-cased name
    std::map<std::string, std::string> m_aliases;    // upper-cased qualified name to field
    struct Recent {
        std::string name;                            // as asked for
        RdmFld* field = nullptr;
    };
    std::array<Recent, 4> m_recent;                  // the fields asked for last
    size_t m_nextRecent = 0;
};
