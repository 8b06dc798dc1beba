// One reference to a COM object, released when the owner goes, on every path.
#pragma once
#include <unknwn.h>

namespace velutils {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds (a new object, an out parameter).
    explicit ComPtr(T* object) : m_p(object) {}
    ~ComPtr() { Reset(); }

    ComPtr(const ComPtr& other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr& operator=(const ComPtr& other)
    {
        if (other.m_p)
            other.m_p->AddRef();
        Reset(other.m_p);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : m_p(other.Release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Hands the reference over to the caller.
    T* Release()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    void Reset(T* object = nullptr)
    {
        T* old = m_p;
        m_p = object;
        if (old)
            old->Release();
    }

    // For the calls that hand out a reference through a pointer.
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

private:
    T* m_p = nullptr;
};

}  // namespace velutils
