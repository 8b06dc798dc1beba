// The database description block a database's dictionary is handed out as: a header of
// eleven 16-bit words, the tables of files, record types, fields, sets, members, sorts
// and keys with their fixed entry sizes, then the record-type and field names, each
// ending in a line feed.
#pragma once
#include <string>

#include "standins/veldbsrv/StandinData.h"

std::string BuildDescriptionBlock(const StandinDatabase& db);
