#include "treelist/ChildIdEnum.h"

#include <new>

namespace treelist {

HRESULT ChildIdEnum::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ChildIdEnum::AddRef()
{
    return static_cast<ULONG>(++m_refs);
}

ULONG ChildIdEnum::Release()
{
    LONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

HRESULT ChildIdEnum::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (!items || (count > 1 && !fetched))
        return E_POINTER;
    ULONG n = 0;
    for (ULONG at = m_cursor; n < count && at < m_ids.size(); ++n, ++at) {
        VariantInit(&items[n]);
        items[n].vt = VT_I4;
        items[n].lVal = m_ids[at];
    }
    m_cursor += n;
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT ChildIdEnum::Skip(ULONG count)
{
    ULONG left = static_cast<ULONG>(m_ids.size()) - m_cursor;
    ULONG n = count < left ? count : left;
    m_cursor += n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT ChildIdEnum::Reset()
{
    m_cursor = 0;
    return S_OK;
}

HRESULT ChildIdEnum::Clone(IEnumVARIANT** copy)
{
    if (!copy)
        return E_POINTER;
    *copy = new (std::nothrow) ChildIdEnum(m_ids, m_cursor);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

}  // namespace treelist
