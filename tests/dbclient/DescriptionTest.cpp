// Descriptions, tables and fields over blocks and record images made here.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "Thrown.h"
#include "dbclient/DbDesc.h"
#include "dbclient/RdmTable.h"
#include "utils/DbDescError.h"

namespace {

// Description blocks laid out as the server hands them out: fields packed in order from
// offset 0, data offset 0, one file.
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

void Word(std::vector<uint8_t>& out, size_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

const size_t kHeader = 22, kFile = 60, kRecord = 12, kField = 20;

size_t FieldEntryAt(size_t recordCount, size_t fieldIndex)
{
    return kHeader + kFile + recordCount * kRecord + fieldIndex * kField;
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

const std::vector<BlockRecord> kEveryType = {
    { "dbuser", { { "userid", 'l', 4 }, { "NAME", 'c', 32, 0, 1 } } },
    { "EveryType", { { "Ch", 'c', 1 }, { "uch", 'c', 1, 4 }, { "text", 'c', 8 }, { "sh", 's', 2 },
                     { "ush", 's', 2, 4 }, { "reg", 'i', 4 }, { "lng", 'l', 4 }, { "ulng", 'l', 4, 4 },
                     { "addr", 'd', 4 }, { "flt", 'f', 4 }, { "dbl", 'F', 8 }, { "grp", 'g', 4 },
                     { "cmp", 'k', 6 } } },
};

DbDesc MakeDesc(const std::vector<BlockRecord>& records = kEveryType)
{
    std::vector<uint8_t> block = MakeDescBlock(records);
    return DbDesc(block.data(), block.size(), 7, "Test", 10014);
}

TEST(Description, EveryTypeAndNamesIgnoringCase)
{
    DbDesc db = MakeDesc();
    EXPECT_EQ("TEST", db.Name());
    const DictRecord& rec = db.RecordType(10001);
    const DictField& dbl = db.FieldByNumber(1010);
    EXPECT_EQ((std::vector<long>{ 10001, 10000, -1, 1001, 52, 13, 'F', 34 }),
              (std::vector<long>{ db.RecordTypeNumber("everytype"), db.RecordTypeNumber("DBUSER"),
                                  db.RecordTypeNumber("none"), db.FieldNumber("EVERYTYPE", "uch"), long(rec.DataLength()),
                                  rec.fieldCount, dbl.type, dbl.offset }));
    EXPECT_EQ((std::vector<std::string>{ "DB_DOUBLE", "DB_COMKEY", "" }),
              (std::vector<std::string>{ DbDictionary::TypeName(dbl.type), DbDictionary::TypeName('k'),
                                         DbDictionary::TypeName('x') }));
    EXPECT_EQ(2003, ErrorCode([&] { db.FieldByNumber(1013); }));
    EXPECT_EQ(2002, ErrorCode([&] { db.RecordType(10002); }));

    RdmTable t(db, "EVERYTYPE");
    EXPECT_TRUE(t.HasField("Text"));
    EXPECT_TRUE(t.HasField("everytype.TEXT", false));
    EXPECT_FALSE(t.HasField("everytype.TEXT", true));
    EXPECT_EQ(2003, ErrorCode([&] { t.Field("nothing"); }));
    EXPECT_EQ("", t.FieldText("nothing"));
}

TEST(Description, BlocksThatDoNotFitFailCleanly)
{
    const std::vector<uint8_t> good = MakeDescBlock(kEveryType);
    auto code = [](const std::vector<uint8_t>& block) {
        return ErrorCode([&] { DbDesc d(block.data(), block.size(), 7, "X", 10014); });
    };
    EXPECT_EQ(2004, code(std::vector<uint8_t>(good.begin(), good.begin() + 21))) << "cut header";
    EXPECT_EQ(2004, code(std::vector<uint8_t>(good.begin(), good.end() - 20))) << "names cut short";
    EXPECT_EQ(2004, ErrorCode([] { DbDesc d(nullptr, 0, 7, "X", 10014); }));
    const struct { size_t at; std::vector<uint8_t> bytes; const char* what; } spoilt[] = {
        { 12, { 200 }, "fields beyond the block" }, { FieldEntryAt(2, 4) + 14, { 45 }, "\"text\" past its record" },
        { FieldEntryAt(2, 12) + 1, { 'F', 2 }, "a double of 2 bytes" },
        { FieldEntryAt(2, 0) + 16, { 1 }, "a field of another record" } };
    for (const auto& s : spoilt) {
        std::vector<uint8_t> block = good;
        std::copy(s.bytes.begin(), s.bytes.end(), &block[s.at]);
        EXPECT_EQ(2004, code(block)) << s.what;
    }
}

template <class T>
void Put(uint8_t* record, int at, T value) { std::memcpy(record + at, &value, sizeof value); }

TEST(Field, TextFormsSignedAndUnsigned)
{
    DbDesc db = MakeDesc();
    RdmTable t(db, "everytype");
    uint8_t* r = t.Record().data();
    std::memcpy(r + 2, "ABCDEFGH", 8);                       // no zero in the field
    Put(r, 10, int16_t(-2));
    Put(r, 12, int16_t(-2));
    for (int at : { 14, 18, 22, 26 })
        Put(r, at, int32_t(-5));
    Put(r, 30, 0.1f);
    Put(r, 34, -2.5e-7);
    std::vector<std::string> texts;
    for (const char* name : { "ch", "uch", "text", "sh", "ush", "reg", "lng", "ulng", "addr", "flt", "dbl" })
        texts.push_back(t.Field(name).AsText());
    EXPECT_EQ((std::vector<std::string>{ "", std::string(1, '\0'), "ABCDEFGH", "-2", "65534", "-5", "-5", "4294967291",
                                         "4294967291", "0.1", "-2.5e-07" }), texts);
    EXPECT_EQ(-5, t.Field("reg").AsNumber());
    EXPECT_EQ(2006, ErrorCode([&] { t.Field("grp").AsText(); }));
    EXPECT_EQ(2006, ErrorCode([&] { t.Field("cmp").SetText("1"); }));
    EXPECT_EQ(2006, ErrorCode([&] { t.Field("text").AsNumber(); }));
    r[0] = 0xFE;
    EXPECT_EQ(-2, t.Field("ch").AsNumber());
    // Unsigned values in decimal, the top bit alone and every bit set.
    for (uint32_t bits : { 0x80000000u, 0xFFFFFFFFu }) {
        Put(r, 22, bits);
        Put(r, 26, bits);
        uint16_t half = static_cast<uint16_t>(bits >> 16);
        Put(r, 12, half);
        r[1] = static_cast<uint8_t>(bits >> 24);
        EXPECT_EQ(std::to_string(bits), t.Field("ulng").AsText());
        EXPECT_EQ(std::to_string(bits), t.Field("addr").AsText());
        EXPECT_EQ(std::to_string(half), t.Field("ush").AsText());
        EXPECT_EQ(std::string(1, static_cast<char>(bits >> 24)), t.Field("uch").AsText());
        EXPECT_EQ(static_cast<long>(bits), t.Field("ulng").AsNumber());     // the same 32 bits
    }
    EXPECT_TRUE(t.IsCompoundKey(1012));
    EXPECT_FALSE(t.IsCompoundKey(1011));
}

// Every type written and read back goes through the server in the library tests; the
// fuzz target writes back whatever reads. Here what only a text cut to fit, a number 0
// and a detached field show.
TEST(Field, WrittenTextsCutAndDetached)
{
    DbDesc db = MakeDesc();
    RdmTable t(db, "EveryType");
    t.Field("text").SetText("much longer than eight");
    EXPECT_EQ("much lo", t.Field("text").AsText());            // cut to fit with its zero
    t.Field("lng").SetNumber(0);
    EXPECT_EQ("0", t.Field("lng").AsText());
    t.Field("ch").SetNumber(1);
    EXPECT_EQ(1, t.Field("ch").AsNumber());
    RdmFld& detached = t.Field("reg");
    detached.Detach();
    detached.SetText("77");
    EXPECT_EQ("77", detached.AsText());
    EXPECT_EQ(0, t.Record()[14]);                              // the record is untouched
}

void FillList(DbDesc& db, int recType, std::vector<uint8_t> data, uint32_t recordSize)
{
    RecordList& list = db.List(recType);
    list.data = data;
    list.recordSize = recordSize;
    list.index = -1;
}

TEST(RecordList, ModesSteppingAndRecordsThatDoNotFit)
{
    DbDesc db = MakeDesc();
    RdmTable t(db, "dbuser");
    EXPECT_FALSE(t.NextOfList());                              // an empty list
    EXPECT_FALSE(t.PositionList(RdmTable::BeforeFirst));
    FillList(db, 10000, std::vector<uint8_t>(36, 0), 36);
    EXPECT_TRUE(t.NextOfList());
    EXPECT_FALSE(t.NextOfList());
    EXPECT_FALSE(t.NextOfList());                              // and stays past the end
    EXPECT_EQ(2005, ErrorCode([&] { t.PositionList(4); }));
    EXPECT_EQ(2005, ErrorCode([&] { t.PositionList(6); }));
    EXPECT_TRUE(t.SetListIndex(-1));
    EXPECT_FALSE(t.SetListIndex(-2));
    EXPECT_TRUE(t.PositionList(RdmTable::ListLast));
    EXPECT_FALSE(t.PositionList(RdmTable::ListNext));
    // Ragged, short and empty records stay inside the list.
    std::vector<uint8_t> ragged(36 * 2 + 5, 1);
    FillList(db, 10000, ragged, 36);
    EXPECT_EQ(2u, t.ListCount());
    ASSERT_TRUE(t.PositionList(RdmTable::ListLast));
    EXPECT_FALSE(t.NextOfList());
    FillList(db, 10000, std::vector<uint8_t>(10, 0xFF), 0);
    EXPECT_FALSE(t.PositionList(RdmTable::ListFirst));
    EXPECT_FALSE(t.NextOfList());
    FillList(db, 10000, std::vector<uint8_t>(6, 0xFF), 2);     // records of 2 bytes
    ASSERT_TRUE(t.NextOfList());
    EXPECT_EQ(0xFFFF, t.Field("userid").AsNumber());           // the rest of the buffer zero
    EXPECT_TRUE(t.NextOfList());
    EXPECT_TRUE(t.NextOfList());
    EXPECT_FALSE(t.NextOfList());
}

}  // namespace
