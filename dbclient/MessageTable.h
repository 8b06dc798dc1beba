// The login's texts by small code: the three refusals, the dialog's labels and caption.
#pragma once
#include <map>
#include <string>

class MessageTable {
public:
    enum Code { WrongPassword = 0, UnknownUser = 1, UserDisabled = 2, UserLabel = 3, PasswordLabel = 4,
                DatabaseLabel = 5, OkButton = 6, CancelButton = 7, Caption = 8 };

    MessageTable();                              // codes 0 to 2 set
    void Set(int code, const std::string& text) { m_texts[code] = text; }
    // The text of a code; empty when it has none.
    const std::string& Get(int code) const;

private:
    std::map<int, std::string> m_texts;
};
