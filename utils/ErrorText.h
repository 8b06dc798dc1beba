// Texts of errors: the system message table, string resources with their fallbacks,
// run-time library error numbers, and the %N argument substitution.
#pragma once
#include <windows.h>

#include <string>

#include "utils/ArgSubstitution.h"
#include "utils/StrVector.h"

namespace velutils {

// The process-wide language name used where a caller gives none ("hu-HU").
const std::string& DefaultLanguage();

// The Windows language id of a language name; an empty or unknown name gives 0x400
// (the user's default).
LANGID LanguageId(const std::string& language);

// Texts of a language are taken from the module registered for it, when there is one.
void RegisterTextModule(const std::string& language, HMODULE module);
HMODULE TextModuleFor(const std::string& language);

// The system's text of a Windows error code, tried in the language, then
// language-neutral. On failure `failure` holds the lookup's own error code.
bool SystemMessageText(DWORD code, const std::string& language, std::string& text, DWORD& failure);

// The system message text of a Windows error code, with composed fallbacks.
std::string SysErrText(unsigned code, const std::string& language = std::string());

// String resource `id` from `module` (the language's text module first; the program's
// own module when the module lacks it). On failure `failure` holds the system code.
bool TryLoadResText(unsigned id, HMODULE module, const std::string& language,
                    std::string& text, DWORD& failure);

// As TryLoadResText, with the fallbacks: throws VelExceptSys when asked to, else the
// default text when one is given, else "<system text of the failure> (<id>)".
std::string LoadResText(unsigned id, const char* defaultText, HMODULE module,
                        bool throwOnFailure, bool stripAmpersands,
                        const std::string& language = std::string());

// Text of a run-time library error number (errno).
std::string ErrnoText(int errnoValue);

// Text of the current errno; stores the number in *errnoValue when it is given.
std::string CurrentErrnoText(int* errnoValue = nullptr);

// The module that holds the code at `address` (the program itself when linked statically).
HMODULE ModuleOfAddress(const void* address);

}  // namespace velutils
