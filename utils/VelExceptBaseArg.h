// An exception whose message takes text arguments: %1..%9, then "%s", then a tail.
#pragma once
#include <string>

#include "utils/StrVector.h"
#include "utils/VelExceptBase.h"

class VelExceptBaseArg : public VelExceptBase {
public:
    VelExceptBaseArg(int code, const StrVector& args, const char* supplement = nullptr);
    VelExceptBaseArg(int code, const ErrPos& pos, const StrVector& args, const char* supplement = nullptr);
    VelExceptBaseArg(const char* text, const StrVector& args, const char* supplement = nullptr);
    VelExceptBaseArg(const char* text, const ErrPos& pos, const StrVector& args, const char* supplement = nullptr);
    VelExceptBaseArg(int code, const char* text, const ErrPos& pos, const StrVector& args,
                     const char* supplement = nullptr);

    ~VelExceptBaseArg() override;
    const char* what() const noexcept override;
    const char* what(const char* language) const override;
    virtual StrVector& GetArgs();
    virtual std::string FormatArgs(const std::string& text) const;

protected:
    mutable std::string FormattedText;
    mutable StrVector Args;

private:
    mutable std::string m_formattedLanguage;   // the language FormattedText was made in
    mutable bool m_formatted = false;
};
