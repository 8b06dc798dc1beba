#include "AccessibleReader.h"

#include <algorithm>

#include "utils/AccessibleIid.h"

namespace {

// Raised after what the test waits for (events from one thread arrive in order), from the
// range Windows leaves to applications.
const DWORD kMarker = 0xA077;

ReaderThread* g_listener = nullptr;

bool ServeUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    for (DWORD end = GetTickCount() + timeoutMs; !done() && GetTickCount() < end;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}

std::string Narrow(BSTR text)
{
    char narrow[1024] = "";
    if (text)
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    SysFreeString(text);
    return narrow;
}

std::string Read(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), LONG id)
{
    BSTR text = nullptr;
    HRESULT result = (object->*get)(ChildId(id), &text);
    return FAILED(result) ? "<failed>" : Narrow(text);
}

LONG ReadNumber(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG id)
{
    VARIANT number;
    VariantInit(&number);
    return (object->*get)(ChildId(id), &number) == S_OK && number.vt == VT_I4 ? number.lVal : -1;
}

}  // namespace

ReaderThread::ReaderThread() : m_wake(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    m_thread = std::thread([this] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        HANDLE wake = m_wake.Get();
        while (!m_stop) {
            MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            if (m_busy) {
                m_work();
                m_busy = false;
            }
        }
        m_hook.Reset();
        CoUninitialize();
    });
}

ReaderThread::~ReaderThread()
{
    m_stop = true;
    SetEvent(m_wake.Get());
    m_thread.join();
    g_listener = nullptr;
}

void ReaderThread::Run(const std::function<void()>& work)
{
    m_work = work;
    m_busy = true;
    SetEvent(m_wake.Get());
    ServeUntil([this] { return !m_busy; });
}

// The thread that raises the events may learn of a new hook only later (Wine keeps what
// it knows of the hooks per thread): until a marker arrives, the hook is not listening yet.
void ReaderThread::Listen(HWND window)
{
    m_window = window;
    g_listener = this;
    Run([this] { m_hook.Reset(SetWinEventHook(EVENT_MIN, 0xAFFF, nullptr, OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT)); });
    for (int tries = 0; tries < 100; ++tries)
        if (HeardUpToMarker(nullptr, 100))
            return;
}

void CALLBACK ReaderThread::OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    ReaderThread* self = g_listener;
    if (!self || hwnd != self->m_window || object != OBJID_CLIENT)
        return;
    std::lock_guard<std::mutex> lock(self->m_lock);
    self->m_heard.emplace_back(event, child);
}

std::vector<HeardEvent> ReaderThread::Heard()
{
    std::vector<HeardEvent> heard;
    HeardUpToMarker(&heard, 10000);
    return heard;
}

bool ReaderThread::HeardUpToMarker(std::vector<HeardEvent>* heard, DWORD timeoutMs)
{
    NotifyWinEvent(kMarker, m_window, OBJID_CLIENT, CHILDID_SELF);
    return ServeUntil([&] {
        std::lock_guard<std::mutex> lock(m_lock);
        auto marker = std::find(m_heard.begin(), m_heard.end(), HeardEvent(kMarker, CHILDID_SELF));
        if (marker == m_heard.end())
            return false;
        if (heard)
            heard->assign(m_heard.begin(), marker);
        m_heard.erase(m_heard.begin(), marker + 1);
        return true;
    }, timeoutMs);
}

velutils::ComPtr<IAccessible> ObjectOf(HWND window, LONG id)
{
    velutils::ComPtr<IAccessible> object;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(id), velutils::kIidAccessible, object.ReceiveVoid());
    return object;
}

VARIANT ChildId(LONG id)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

AccessibleRow ReadRow(IAccessible* object, LONG id)
{
    AccessibleRow row;
    row.name = Read(object, &IAccessible::get_accName, id);
    row.value = Read(object, &IAccessible::get_accValue, id);
    row.description = Read(object, &IAccessible::get_accDescription, id);
    row.action = Read(object, &IAccessible::get_accDefaultAction, id);
    row.role = ReadNumber(object, &IAccessible::get_accRole, id);
    row.state = ReadNumber(object, &IAccessible::get_accState, id);
    long x = 0, y = 0, cx = 0, cy = 0;
    if (object->accLocation(&x, &y, &cx, &cy, ChildId(id)) == S_OK)
        row.location = RECT{ x, y, x + cx, y + cy };
    return row;
}

std::vector<VARIANT> Children(IAccessible* object)
{
    long count = 0, got = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count > 0 ? count : 0) + 1);
    AccessibleChildren(object, 0, count, children.data(), &got);
    children.resize(static_cast<size_t>(got));
    return children;
}

std::vector<LONG> ChildIds(IAccessible* object)
{
    std::vector<LONG> ids;
    for (VARIANT& child : Children(object)) {
        ids.push_back(child.vt == VT_I4 ? child.lVal : -1);
        VariantClear(&child);
    }
    return ids;
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
