// Root of the exception family: an error code, an optional ready text, a supplement and
// the throw position; the message is composed from string resources on first demand.
#pragma once
#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include "utils/ErrPos.h"

class VelExceptBase : public std::exception {
public:
    using Range = std::pair<int, int>;   // both ends inclusive

    explicit VelExceptBase(int code, const char* supplement = nullptr);
    VelExceptBase(int code, const ErrPos& pos, const char* supplement = nullptr);
    explicit VelExceptBase(const char* text, const char* supplement = nullptr);
    VelExceptBase(const char* text, const ErrPos& pos, const char* supplement = nullptr);
    VelExceptBase(int code, const char* text, const ErrPos& pos, const char* supplement = nullptr);

    ~VelExceptBase() override;
    const char* what() const noexcept override;
    virtual unsigned short GetTextId(int code) const;
    virtual unsigned short GetOwnTextId() const;
    virtual std::string LoadText(unsigned short id, HMODULE module, const std::string& language) const;
    virtual const char* what(const char* language) const;
    virtual const char* GetSupplement() const;
    virtual bool IsOutsideSecondaryRange() const;
    virtual bool IsFatal() const;
    virtual bool IsAlwaysFatal() const;
    virtual const char* GetErrText(const std::string& language) const;
    virtual Range GetPrimaryRange() const;
    virtual unsigned short GetPrimaryTextBase() const;
    virtual Range GetSecondaryRange() const;
    virtual unsigned short GetSecondaryTextBase() const;
    virtual bool IsFatalCode() const;

    int GetErrCode() const { return ErrCode; }
    const ErrPos& GetPos() const { return Pos; }

    // The message from the string table, the system or the fixed fallbacks; kept in Text.
    const char* ComposeBaseText(const std::string& language) const;

    // "file x, function f, line n" (one line) or the same as three aligned lines.
    std::string FormatErrPos(bool multiLine, const std::string& language = std::string()) const;

    // The module whose string table holds the texts of the codes.
    static HMODULE OwnModule();

protected:
    mutable std::string Text;
    std::string Supplement;
    int ErrCode = -1;
    ErrPos Pos;

    static bool InRange(int code, Range range) { return code >= range.first && code <= range.second; }
    std::string ClassName() const;
};
