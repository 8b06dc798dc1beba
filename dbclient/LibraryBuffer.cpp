#include "dbclient/LibraryBuffer.h"

#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"

LibraryBuffer::~LibraryBuffer()
{
    FARPROC entry = FunctionLoader::Instance().Address(FunctionLoader::FreePtr);
    if (m_data && entry)
        reinterpret_cast<veldbcli::FreePtrFn>(reinterpret_cast<void*>(entry))(m_data);
}

void LibraryBuffer::Free()
{
    if (!m_data)
        return;
    auto freePtr = FunctionLoader::Instance().Checked<veldbcli::FreePtrFn>(FunctionLoader::FreePtr);
    freePtr(m_data);
    m_data = nullptr;
}
