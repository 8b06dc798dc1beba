#include "utils/ErrorText.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

#include "utils/TextFormat.h"
#include "utils/UniqueHandle.h"
#include "utils/VelExceptSys.h"

namespace velutils {

namespace {

const size_t kSmallBuffer = 260;
const int kStringChunk = 256;

std::string LocaleString(LCID lcid, LCTYPE type)
{
    char buffer[128] = "";
    if (!GetLocaleInfoA(lcid, type, buffer, sizeof buffer))
        return std::string();
    return buffer;
}

std::string IsoName(LCID lcid)
{
    std::string language = LocaleString(lcid, LOCALE_SISO639LANGNAME);
    std::string country = LocaleString(lcid, LOCALE_SISO3166CTRYNAME);
    if (language.empty())
        return std::string();
    return country.empty() ? language : language + "-" + country;
}

std::mutex g_languageLock;
std::map<std::string, LANGID> g_languageIds;
std::map<std::string, HMODULE> g_textModules;
std::string g_wantedLanguage;
LANGID g_foundLanguage;

BOOL CALLBACK MatchLocale(LPSTR hexLcid)
{
    LCID lcid = strtoul(hexLcid, nullptr, 16);
    if (lstrcmpiA(IsoName(lcid).c_str(), g_wantedLanguage.c_str()) == 0
        || lstrcmpiA(LocaleString(lcid, LOCALE_SISO639LANGNAME).c_str(), g_wantedLanguage.c_str()) == 0) {
        g_foundLanguage = LANGIDFROMLCID(lcid);
        return FALSE;
    }
    return TRUE;
}

bool IsMissingResource(DWORD code)
{
    return code == ERROR_RESOURCE_TYPE_NOT_FOUND || code == ERROR_RESOURCE_NAME_NOT_FOUND
        || code == ERROR_RESOURCE_LANG_NOT_FOUND;
}

// LoadStringA into a buffer that grows while the text fills it.
bool LoadStringGrowing(HMODULE module, unsigned id, std::string& text, DWORD& failure)
{
    std::vector<char> buffer(kStringChunk);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        int n = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (n <= 0) {
            failure = GetLastError();
            if (failure == ERROR_SUCCESS)      // block present, string absent
                failure = ERROR_RESOURCE_NAME_NOT_FOUND;
            return false;
        }
        if (static_cast<size_t>(n) < buffer.size() - 1) {
            text.assign(buffer.data(), n);
            return true;
        }
        buffer.resize(buffer.size() + kStringChunk);
    }
}

std::string StripAmpersands(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (++i == text.size())
                break;
        }
        out += text[i];
    }
    return out;
}

std::string SysErrTextDepth(unsigned code, const std::string& language, int depth)
{
    std::string text;
    DWORD failure = ERROR_SUCCESS;
    if (SystemMessageText(code, language, text, failure))
        return text;
    // The failure's own text may fail too; one level of that is enough to explain it.
    if (failure != code && depth == 0) {
        std::string inner = SysErrTextDepth(failure, language, depth + 1);
        if (!inner.empty())
            return FormatBounded(kSmallBuffer, "%s (%u)", inner.c_str(), code);
    }
    if (failure == code)
        return FormatBounded(kSmallBuffer, "System-error. Last ErrCode: %u", code);
    return FormatBounded(kSmallBuffer, "System-error. Last error code: %lu, original error code: %u",
                         failure, code);
}

}  // namespace

const std::string& DefaultLanguage()
{
    static const std::string language = IsoName(LOCALE_USER_DEFAULT);
    return language;
}

LANGID LanguageId(const std::string& language)
{
    const std::string& name = language.empty() ? DefaultLanguage() : language;
    if (name.empty())
        return LANG_USER_DEFAULT;
    std::lock_guard<std::mutex> lock(g_languageLock);
    auto found = g_languageIds.find(name);
    if (found != g_languageIds.end())
        return found->second;
    g_wantedLanguage = name;
    g_foundLanguage = 0;
    EnumSystemLocalesA(MatchLocale, LCID_INSTALLED);
    LANGID id = g_foundLanguage ? g_foundLanguage : LANG_USER_DEFAULT;
    g_languageIds[name] = id;
    return id;
}

void RegisterTextModule(const std::string& language, HMODULE module)
{
    std::lock_guard<std::mutex> lock(g_languageLock);
    if (module)
        g_textModules[language] = module;
    else
        g_textModules.erase(language);
}

HMODULE TextModuleFor(const std::string& language)
{
    const std::string& name = language.empty() ? DefaultLanguage() : language;
    std::lock_guard<std::mutex> lock(g_languageLock);
    auto found = g_textModules.find(name);
    return found == g_textModules.end() ? nullptr : found->second;
}

bool SystemMessageText(DWORD code, const std::string& language, std::string& text, DWORD& failure)
{
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER
                      | FORMAT_MESSAGE_IGNORE_INSERTS;
    const LANGID languages[] = { LanguageId(language), 0 };
    for (LANGID id : languages) {
        LocalMemory buffer;
        DWORD n = FormatMessageA(flags, nullptr, code, id, reinterpret_cast<LPSTR>(buffer.Receive()), 0, nullptr);
        if (n > 0 && buffer) {
            text.assign(static_cast<const char*>(buffer.Get()), n);
            return true;
        }
        failure = GetLastError();
    }
    return false;
}

std::string SysErrText(unsigned code, const std::string& language)
{
    return SysErrTextDepth(code, language, 0);
}

bool TryLoadResText(unsigned id, HMODULE module, const std::string& language,
                    std::string& text, DWORD& failure)
{
    HMODULE own = GetModuleHandleA(nullptr);
    HMODULE first = TextModuleFor(language);
    if (!first)
        first = module ? module : own;
    if (LoadStringGrowing(first, id, text, failure))
        return true;
    if (IsMissingResource(failure) && first != own)
        return LoadStringGrowing(own, id, text, failure);
    return false;
}

std::string LoadResText(unsigned id, const char* defaultText, HMODULE module,
                        bool throwOnFailure, bool stripAmpersands, const std::string& language)
{
    std::string text;
    DWORD failure = ERROR_SUCCESS;
    if (!TryLoadResText(id, module, language, text, failure)) {
        if (throwOnFailure)
            throw VelExceptSys(static_cast<int>(failure), VEL_ERRPOS("LoadResText"), StrVector(), nullptr);
        if (defaultText)
            return defaultText;
        return FormatBounded(kSmallBuffer, "%s (%u)", SysErrText(failure, language).c_str(), id);
    }
    return stripAmpersands ? StripAmpersands(text) : text;
}

std::string ErrnoText(int errnoValue)
{
    struct Entry { int value; unsigned id; const char* text; };
    static const Entry table[] = {
        { 2, 20310, "No such file or directory" },  { 7, 20302, "Arg list too long" },
        { 8, 20311, "Exec format error" },          { 9, 20304, "Bad file number" },
        { 10, 20300, "No child process" },          { 11, 20301, "Resource temporarily unavailable" },
        { 12, 20312, "Not enough core" },           { 13, 20303, "Permission denied" },
        { 17, 20307, "File already exists" },       { 18, 20315, "Cross-device link" },
        { 22, 20308, "Invalid argument" },          { 24, 20309, "Too many open files" },
        { 28, 20313, "No space left on device" },   { 33, 20306, "Math argument" },
        { 34, 20314, "Result too large" },          { 36, 20305, "Locking violation" },
        { 42, 20316, "Illegel sequence of bytes" },
    };
    HMODULE own = ModuleOfAddress(reinterpret_cast<const void*>(&ErrnoText));
    for (const Entry& e : table)
        if (e.value == errnoValue)
            return LoadResText(e.id, e.text, own, false, false);
    return LoadResText(20332, "Unknown error", own, false, false);
}

std::string CurrentErrnoText(int* errnoValue)
{
    int value = errno;
    if (errnoValue)
        *errnoValue = value;
    return ErrnoText(value);
}

HMODULE ModuleOfAddress(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return GetModuleHandleA(nullptr);
    return module;
}

}  // namespace velutils
