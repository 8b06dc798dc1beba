// A fixed list of child ids as an IEnumVARIANT: the selection of a control that holds
// several selected items.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <vector>

namespace treelist {

class ChildIdEnum final : public IEnumVARIANT {
public:
    ChildIdEnum(std::vector<LONG> ids, ULONG cursor = 0) : m_ids(std::move(ids)), m_cursor(cursor) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    std::atomic<LONG> m_refs{ 1 };
    const std::vector<LONG> m_ids;
    std::atomic<ULONG> m_cursor;
};

}  // namespace treelist
