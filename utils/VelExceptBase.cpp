#include "utils/VelExceptBase.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include "utils/ErrorText.h"
#include "utils/StrVector.h"
#include "utils/TextFormat.h"

namespace {

const size_t kSmallBuffer = 260;
const int kNoCodeFallback = 1;       // the text of code 1 stands in for a missing one
const int kMissingTextCode = 22;     // "the text of code %1 is missing"

// With a position it fills %3; without one %3 has no argument and stays empty.
const char* const kMissingText = "Error text for ErrorCode %1 is missing! Exception: %2, ErrPos: %3";

std::string Supplied(const char* text)
{
    return text ? text : "";
}

}  // namespace

VelExceptBase::VelExceptBase(int code, const char* supplement)
    : Supplement(Supplied(supplement)), ErrCode(code) {}

VelExceptBase::VelExceptBase(int code, const ErrPos& pos, const char* supplement)
    : Supplement(Supplied(supplement)), ErrCode(code), Pos(pos) {}

VelExceptBase::VelExceptBase(const char* text, const char* supplement)
    : Text(Supplied(text)), Supplement(Supplied(supplement)) {}

VelExceptBase::VelExceptBase(const char* text, const ErrPos& pos, const char* supplement)
    : Text(Supplied(text)), Supplement(Supplied(supplement)), Pos(pos) {}

VelExceptBase::VelExceptBase(int code, const char* text, const ErrPos& pos, const char* supplement)
    : Text(Supplied(text)), Supplement(Supplied(supplement)), ErrCode(code), Pos(pos) {}

VelExceptBase::~VelExceptBase() = default;

const char* VelExceptBase::what() const noexcept
{
    return what(nullptr);
}

unsigned short VelExceptBase::GetTextId(int code) const
{
    Range primary = GetPrimaryRange();
    Range secondary = GetSecondaryRange();
    unsigned id;
    if (InRange(code, primary))
        id = GetPrimaryTextBase() + (code - primary.first);
    else if (InRange(code, secondary))
        id = GetSecondaryTextBase() + (code - secondary.first);
    else if (InRange(code, Range(0, 249)))
        id = 20000 + code;
    else if (InRange(code, Range(250, 299)))
        id = 20250 + (code - 250);
    else
        id = kMissingTextCode;
    return static_cast<unsigned short>(id);
}

unsigned short VelExceptBase::GetOwnTextId() const
{
    return GetTextId(ErrCode);
}

std::string VelExceptBase::LoadText(unsigned short id, HMODULE module, const std::string& language) const
{
    std::string text;
    DWORD failure = ERROR_SUCCESS;
    if (velutils::TryLoadResText(id, module, language, text, failure))
        return text;
    return velutils::SysErrText(failure, language);
}

const char* VelExceptBase::what(const char* language) const
{
    try {
        std::string lang = language ? language : "";
        const char* text = GetErrText(lang);
        if (!text || !*text)
            text = ComposeBaseText(lang);
        return text;
    } catch (...) {
        return "VelExceptBase";     // composing ran out of memory
    }
}

const char* VelExceptBase::GetSupplement() const
{
    return Supplement.c_str();
}

bool VelExceptBase::IsOutsideSecondaryRange() const
{
    return !InRange(ErrCode, GetSecondaryRange());
}

bool VelExceptBase::IsFatal() const
{
    if (IsAlwaysFatal() || IsFatalCode())
        return true;
    return IsOutsideSecondaryRange() && !InRange(ErrCode, GetPrimaryRange());
}

bool VelExceptBase::IsAlwaysFatal() const
{
    return false;
}

const char* VelExceptBase::GetErrText(const std::string& language) const
{
    return ComposeBaseText(language);
}

VelExceptBase::Range VelExceptBase::GetPrimaryRange() const
{
    return Range(0, 249);
}

unsigned short VelExceptBase::GetPrimaryTextBase() const
{
    return 20000;
}

VelExceptBase::Range VelExceptBase::GetSecondaryRange() const
{
    return Range(250, 299);
}

unsigned short VelExceptBase::GetSecondaryTextBase() const
{
    return 20250;
}

bool VelExceptBase::IsFatalCode() const
{
    switch (ErrCode) {
    case 1: case 2: case 3: case 4: case 8: case 9:
        return true;
    default:
        return false;
    }
}

const char* VelExceptBase::ComposeBaseText(const std::string& language) const
{
    if (!Text.empty())
        return Text.c_str();

    HMODULE module = OwnModule();
    int n = ErrCode;
    if (ErrCode == -1) {
        n = kNoCodeFallback;
    } else {
        unsigned short id = GetTextId(ErrCode);
        if (id == 0) {
            n = kNoCodeFallback;
        } else {
            Text = LoadText(id, module, language);
            if (Text.empty())
                n = kMissingTextCode;
        }
    }
    if (n == ErrCode)
        return Text.c_str();

    unsigned short id = GetTextId(n);
    Text = id > 0 ? LoadText(id, module, language) : "Unknown error!";
    if (Text.empty()) {
        n = kMissingTextCode;
        if (ErrCode != kMissingTextCode) {
            id = GetTextId(kMissingTextCode);
            if (id > 0)
                Text = LoadText(id, module, language);
        }
        if (Text.empty())
            Text = kMissingText;
    }
    if (n == kNoCodeFallback)
        Text = velutils::FormatBounded(kSmallBuffer, "%s (%d)", Text.c_str(), ErrCode);
    if (n == kMissingTextCode) {
        StrVector args;
        args.Append(ErrCode).Append(ClassName());
        if (!Pos.File.empty())
            args.Append(FormatErrPos(false, language));
        StrVector leftover;
        Text = velutils::SubstituteArgs(Text, args, leftover);
    }
    return Text.c_str();
}

std::string VelExceptBase::FormatErrPos(bool multiLine, const std::string& language) const
{
    if (Pos.File.empty())
        return std::string();
    HMODULE module = OwnModule();
    std::string file = velutils::LoadResText(24047, "file", module, false, false, language);
    std::string function = velutils::LoadResText(24048, "function", module, false, false, language);
    std::string line = velutils::LoadResText(24049, "line", module, false, false, language);
    const char* format = multiLine ? "%-12s%s\r\n%-12s%s\r\n%-12s%d" : "%s %s, %s %s, %s %d";
    return velutils::FormatBounded(kSmallBuffer, format, file.c_str(), Pos.File.c_str(),
                                   function.c_str(), Pos.Function.c_str(), line.c_str(), Pos.Line);
}

HMODULE VelExceptBase::OwnModule()
{
    return velutils::ModuleOfAddress(reinterpret_cast<const void*>(&VelExceptBase::OwnModule));
}

std::string VelExceptBase::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && plain) ? plain : mangled;
    std::free(plain);
    return name;
}
