// Texts of the program's string table.
#pragma once

// Loads string `id` and formats it with the further arguments as printf does, into one
// buffer shared by the whole program (valid until the next call). A missing string
// gives "".
const char* FormatResString(unsigned id, ...);
