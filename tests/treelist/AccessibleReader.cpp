#include "AccessibleReader.h"

#include "utils/AccessibleIid.h"

namespace {

// Raised by the test after what it waits for: events from one thread arrive in order. In
// the range Windows leaves to applications (0xA000-0xAFFF).
const DWORD kMarker = 0xA077;
const DWORD kLastEvent = 0xAFFF;

ReaderThread* g_listener = nullptr;

void Serve()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ServeUntil(const std::function<bool()>& done)
{
    DWORD end = GetTickCount() + 10000;
    while (!done() && GetTickCount() < end) {
        Serve();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

VARIANT Child(LONG id)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

std::string Read(IAccessible* object, TextGetter getter, LONG id)
{
    BSTR text = nullptr;
    HRESULT result = (object->*getter)(Child(id), &text);
    std::string narrow = result == S_OK ? Narrow(text) : result == S_FALSE ? "" : "<failed>";
    SysFreeString(text);
    return narrow;
}

LONG ReadNumber(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, VARIANT*), LONG id)
{
    VARIANT number;
    VariantInit(&number);
    if ((object->*getter)(Child(id), &number) != S_OK || number.vt != VT_I4)
        return -1;
    return number.lVal;
}

}  // namespace

ReaderThread::ReaderThread() : m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    m_thread = std::thread([this] { Loop(); });
}

ReaderThread::~ReaderThread()
{
    Run([this] {
        if (m_hook)
            UnhookWinEvent(m_hook);
        g_listener = nullptr;
    });
    m_stop = true;
    SetEvent(m_wake);
    m_thread.join();
    CloseHandle(m_wake);
}

void ReaderThread::Loop()
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    while (!m_stop) {
        MsgWaitForMultipleObjects(1, &m_wake, FALSE, INFINITE, QS_ALLINPUT);
        Serve();
        if (m_busy) {
            m_work();
            m_busy = false;
        }
    }
    CoUninitialize();
}

void ReaderThread::Run(const std::function<void()>& work)
{
    m_work = work;
    m_busy = true;
    SetEvent(m_wake);
    ServeUntil([this] { return !m_busy; });
}

void ReaderThread::Listen(HWND window)
{
    m_window = window;
    Run([this] {
        g_listener = this;
        m_hook = SetWinEventHook(EVENT_MIN, kLastEvent, nullptr, OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    });
}

void CALLBACK ReaderThread::OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    ReaderThread* self = g_listener;
    if (!self || hwnd != self->m_window || object != OBJID_CLIENT)
        return;
    std::lock_guard<std::mutex> lock(self->m_lock);
    self->m_heard.push_back(HeardEvent{ event, child });
}

std::vector<HeardEvent> ReaderThread::Heard()
{
    NotifyWinEvent(kMarker, m_window, OBJID_CLIENT, CHILDID_SELF);
    std::vector<HeardEvent> heard;
    ServeUntil([&] {
        std::lock_guard<std::mutex> lock(m_lock);
        for (size_t i = 0; i < m_heard.size(); ++i) {
            if (m_heard[i].event == kMarker) {
                heard.assign(m_heard.begin(), m_heard.begin() + static_cast<long>(i));
                m_heard.erase(m_heard.begin(), m_heard.begin() + static_cast<long>(i) + 1);
                return true;
            }
        }
        return false;
    });
    return heard;
}

velutils::ComPtr<IAccessible> ClientObject(HWND window)
{
    velutils::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), velutils::kIidAccessible,
                               object.ReceiveVoid());
    return object;
}

std::string Narrow(BSTR text)
{
    if (!text)
        return "";
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

AccessibleRow ReadRow(IAccessible* object, LONG id)
{
    AccessibleRow row;
    row.id = id;
    row.name = Read(object, &IAccessible::get_accName, id);
    row.value = Read(object, &IAccessible::get_accValue, id);
    row.description = Read(object, &IAccessible::get_accDescription, id);
    row.action = Read(object, &IAccessible::get_accDefaultAction, id);
    row.role = ReadNumber(object, &IAccessible::get_accRole, id);
    row.state = ReadNumber(object, &IAccessible::get_accState, id);
    long x = 0, y = 0, cx = 0, cy = 0;
    if (object->accLocation(&x, &y, &cx, &cy, Child(id)) == S_OK)
        row.location = RECT{ x, y, x + cx, y + cy };
    return row;
}

std::vector<LONG> ChildIds(IAccessible* object)
{
    std::vector<LONG> ids;
    velutils::ComPtr<IEnumVARIANT> children;
    long count = 0;
    if (FAILED(object->QueryInterface(IID_IEnumVARIANT, children.ReceiveVoid())) ||
        FAILED(object->get_accChildCount(&count)) || count <= 0)
        return ids;
    std::vector<VARIANT> items(static_cast<size_t>(count));
    ULONG fetched = 0;
    children->Reset();
    children->Next(static_cast<ULONG>(count), items.data(), &fetched);
    for (ULONG i = 0; i < fetched; ++i)
        ids.push_back(items[i].vt == VT_I4 ? items[i].lVal : -1);
    return ids;
}

std::string RoleText(LONG role)
{
    char text[100] = "";
    GetRoleTextA(static_cast<DWORD>(role), text, sizeof text);
    return text;
}

std::string StateText(LONG state)
{
    static const std::pair<LONG, const char*> names[] = {
        { STATE_SYSTEM_FOCUSED, "focused" }, { STATE_SYSTEM_SELECTED, "selected" },
        { STATE_SYSTEM_EXPANDED, "expanded" }, { STATE_SYSTEM_COLLAPSED, "collapsed" },
        { STATE_SYSTEM_CHECKED, "checked" }, { STATE_SYSTEM_OFFSCREEN, "offscreen" },
        { STATE_SYSTEM_INVISIBLE, "invisible" }, { STATE_SYSTEM_UNAVAILABLE, "unavailable" },
    };
    std::string text;
    for (const auto& name : names)
        if (state & name.first)
            text += (text.empty() ? "" : " ") + std::string(name.second);
    return text;
}
