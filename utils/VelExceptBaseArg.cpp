#include "utils/VelExceptBaseArg.h"

#include "utils/ErrorText.h"

VelExceptBaseArg::VelExceptBaseArg(int code, const StrVector& args, const char* supplement)
    : VelExceptBase(code, supplement), Args(args) {}

VelExceptBaseArg::VelExceptBaseArg(int code, const ErrPos& pos, const StrVector& args, const char* supplement)
    : VelExceptBase(code, pos, supplement), Args(args) {}

VelExceptBaseArg::VelExceptBaseArg(const char* text, const StrVector& args, const char* supplement)
    : VelExceptBase(text, supplement), Args(args) {}

VelExceptBaseArg::VelExceptBaseArg(const char* text, const ErrPos& pos, const StrVector& args,
                                   const char* supplement)
    : VelExceptBase(text, pos, supplement), Args(args) {}

VelExceptBaseArg::VelExceptBaseArg(int code, const char* text, const ErrPos& pos, const StrVector& args,
                                   const char* supplement)
    : VelExceptBase(code, text, pos, supplement), Args(args) {}

VelExceptBaseArg::~VelExceptBaseArg() = default;

const char* VelExceptBaseArg::what() const noexcept
{
    return what(nullptr);
}

const char* VelExceptBaseArg::what(const char* language) const
{
    try {
        std::string lang = language ? language : "";
        // Formatted once per language, so that the pointer handed out stays valid.
        if (!m_formatted || lang != m_formattedLanguage) {
            const char* text = GetErrText(lang);
            FormattedText = FormatArgs(text ? text : "");
            m_formattedLanguage = lang;
            m_formatted = true;
        }
        return FormattedText.c_str();
    } catch (...) {
        return "VelExceptBaseArg";
    }
}

StrVector& VelExceptBaseArg::GetArgs()
{
    return Args;
}

std::string VelExceptBaseArg::FormatArgs(const std::string& text) const
{
    if (Args.empty())
        return text;
    StrVector leftover;
    std::string out = velutils::SubstituteArgs(text, Args, leftover);
    size_t next = 0;
    size_t from = 0;
    for (; next < leftover.size(); ++next) {
        size_t at = out.find("%s", from);
        if (at == std::string::npos)
            break;
        out.replace(at, 2, leftover[next]);
        from = at + leftover[next].size();   // an argument's own text is not scanned again
    }
    if (next < leftover.size()) {
        out += "\r\n (";
        out += leftover[next];
        for (++next; next < leftover.size(); ++next)
            out += ", " + leftover[next];
        out += ")";
    }
    return out;
}
