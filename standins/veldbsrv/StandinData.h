// The databases the stand-in server serves, as read from its data file: per database
// its dictionary (record types and their fields) and its rows as record images.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct StandinField {
    std::string name;
    char type = 'c';
    char keyKind = 'n';        // 'n' none, 'u' unique, 'd' duplicates allowed
    uint16_t length = 0;
    uint16_t offset = 0;
    uint16_t flags = 0;        // 4: unsigned
    bool scrambled = false;    // values stored with the user-name key
};

struct StandinRow {
    uint32_t id = 0;           // stays with the row while others come and go
    std::string image;
};

struct StandinRecord {
    std::string name;
    std::vector<StandinField> fields;
    uint16_t dataLength = 0;
    std::vector<StandinRow> rows;

    int FieldIndex(const std::string& name) const;   // ignoring case; -1 if absent
};

struct StandinDatabase {
    int number = 0;
    std::string name;
    std::vector<StandinRecord> records;
    bool ownDescription = false;   // a test's block, served as given
    std::string description;
    int32_t nextId = 1;

    int RecordIndex(const std::string& name) const;  // ignoring case; -1 if absent
};

class StandinData {
public:
    // Reads the data file (code page 1250 as it stands); false with a reason on failure.
    bool Load(const std::string& path, std::string& error);

    StandinDatabase* Find(int number);
    StandinDatabase* FindByName(const std::string& name);

    std::vector<StandinDatabase> databases;
    std::map<std::string, int> failures;      // entry name -> status it answers
    bool checkLogins = true;                  // false: InitUserEx admits every user
    uint32_t nextRowId = 1;
};
