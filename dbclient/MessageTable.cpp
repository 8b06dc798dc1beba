#include "dbclient/MessageTable.h"

MessageTable::MessageTable()
{
    m_texts[WrongPassword] = "Nem megfelelő jelszó!";
    m_texts[UnknownUser] = "Ismeretlen felhasználónév!";
    m_texts[UserDisabled] = "A felhasználó tiltott!";
}

const std::string& MessageTable::Get(int code) const
{
    static const std::string empty;
    auto it = m_texts.find(code);
    return it == m_texts.end() ? empty : it->second;
}
