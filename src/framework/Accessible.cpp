#include "framework/Accessible.h"

#include "framework/Wnd.h"

#include <new>

namespace {

// The object a screen reader gets for a window's client area: the system's
// standard object, with the role, name, value, state and the painted
// elements taken from the window (IAccessibleContent) while it exists.
class CAccessibleProxy final : public IAccessible {
public:
    // Takes over the reference to `standard`.
    CAccessibleProxy(HWND window, IAccessible* standard) : m_hWnd(window), m_pStandard(standard) {}
    ~CAccessibleProxy() { m_pStandard->Release(); }
    CAccessibleProxy(const CAccessibleProxy&) = delete;
    CAccessibleProxy& operator=(const CAccessibleProxy&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        // (The IIDs by __uuidof: MinGW's import library gives IID_IAccessible as a DLL symbol.)
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = InterlockedDecrement(&m_nRefs);
        if (refs == 0)
            delete this;
        return ULONG(refs);
    }

    // IDispatch: screen readers call IAccessible itself; there is no type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_pStandard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = ElementCount() + ChildWindowCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        const long id = ChildId(child);
        if (id <= 0)
            return E_INVALIDARG;
        if (id <= ElementCount())
            return S_FALSE; // a simple element: asked through this object
        HWND window = ChildWindow(id - ElementCount());
        return window ? AccessibleObjectFromWindow(window, DWORD(OBJID_WINDOW), __uuidof(IDispatch),
                                                   reinterpret_cast<void**>(object))
                      : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Text(child, name, &AccessibleItem::name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return Text(child, value, &AccessibleItem::value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return SelfOnly(child, text, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        AccessibleItem item;
        const long id = Item(child, item);
        if (id < 0 || !role)
            return E_INVALIDARG;
        if (item.role == 0 && id == CHILDID_SELF)
            return m_pStandard->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = item.role ? item.role : ROLE_SYSTEM_STATICTEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        AccessibleItem item;
        const long id = Item(child, item);
        if (id < 0 || !state)
            return E_INVALIDARG;
        if (item.state < 0 && id == CHILDID_SELF)
            return m_pStandard->get_accState(child, state);
        state->vt = VT_I4;
        state->lVal = item.state >= 0 ? item.state : STATE_SYSTEM_READONLY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return SelfOnly(child, help, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return m_pStandard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return SelfOnly(child, shortcut, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_pStandard->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return m_pStandard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return SelfOnly(child, action, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return ChildId(child) == CHILDID_SELF ? m_pStandard->accSelect(flags, child) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        AccessibleItem item;
        const long id = Item(child, item);
        if (id < 0 || !left || !top || !width || !height)
            return E_INVALIDARG;
        if (id == CHILDID_SELF)
            return m_pStandard->accLocation(left, top, width, height, child);
        POINT origin = {item.place.left, item.place.top};
        ClientToScreen(m_hWnd, &origin);
        *left = origin.x;
        *top = origin.y;
        *width = item.place.right - item.place.left;
        *height = item.place.bottom - item.place.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        const long id = ChildId(start), count = ElementCount();
        long to = 0;
        if (id == CHILDID_SELF && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) && count > 0)
            to = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        else if (id > 0 && id <= count && direction == NAVDIR_NEXT)
            to = id < count ? id + 1 : 0;
        else if (id > 0 && id <= count && direction == NAVDIR_PREVIOUS)
            to = id - 1;
        else
            return m_pStandard->accNavigate(direction, start, end);
        end->vt = to ? VT_I4 : VT_EMPTY;
        end->lVal = to;
        return to ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        if (!child)
            return E_POINTER;
        POINT point = {x, y};
        ScreenToClient(m_hWnd, &point);
        for (long id = 1; id <= ElementCount(); ++id) {
            AccessibleItem item;
            VARIANT element = {};
            element.vt = VT_I4;
            element.lVal = id;
            if (Item(element, item) == id && PtInRect(&item.place, point)) {
                child->vt = VT_I4;
                child->lVal = id;
                return S_OK;
            }
        }
        return m_pStandard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return ChildId(child) == CHILDID_SELF ? m_pStandard->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    // The window's content while the window and its object exist.
    const IAccessibleContent* Content() const
    {
        return dynamic_cast<const IAccessibleContent*>(CWnd::FromHandle(m_hWnd));
    }
    int ElementCount() const
    {
        const IAccessibleContent* content = Content();
        return content ? content->AccessibleElementCount() : 0;
    }
    int ChildWindowCount() const
    {
        int count = 0;
        for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++count;
        return count;
    }
    HWND ChildWindow(long number) const // counted from 1
    {
        HWND child = GetWindow(m_hWnd, GW_CHILD);
        while (child && --number > 0)
            child = GetWindow(child, GW_HWNDNEXT);
        return child;
    }
    static long ChildId(const VARIANT& child) { return child.vt == VT_I4 ? child.lVal : -1; }
    // The item a child id stands for; its id, or -1 when there is none.
    // Called by screen readers through COM: nothing may be thrown back to it.
    long Item(const VARIANT& child, AccessibleItem& item) const
    {
        try {
            const long id = ChildId(child);
            const IAccessibleContent* content = Content();
            if (id == CHILDID_SELF) {
                if (content)
                    item = content->AccessibleSelf();
                return id;
            }
            if (!content || id < 1 || id > content->AccessibleElementCount())
                return -1;
            item = content->AccessibleElement(int(id - 1));
            return id;
        } catch (...) {
            return -1;
        }
    }
    HRESULT Text(const VARIANT& child, BSTR* out, std::wstring AccessibleItem::*field, StandardText standard) const
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        AccessibleItem item;
        const long id = Item(child, item);
        if (id < 0)
            return E_INVALIDARG;
        const std::wstring& text = item.*field;
        if (text.empty())
            return id == CHILDID_SELF ? (m_pStandard->*standard)(child, out) : S_FALSE;
        *out = SysAllocStringLen(text.data(), UINT(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT SelfOnly(const VARIANT& child, BSTR* out, StandardText standard) const
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const long id = ChildId(child);
        if (id == CHILDID_SELF)
            return (m_pStandard->*standard)(child, out);
        return id > 0 && id <= ElementCount() ? S_FALSE : E_INVALIDARG;
    }

    LONG m_nRefs = 1;
    HWND m_hWnd;
    IAccessible* m_pStandard; // owned: one reference
};

} // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LONG(DWORD(lParam)) != OBJID_CLIENT)
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))))
        return 0;
    CAccessibleProxy* proxy = new (std::nothrow) CAccessibleProxy(window, standard);
    if (!proxy) {
        standard->Release();
        return 0;
    }
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, proxy);
    proxy->Release();
    return answer;
}

void NotifyAccessible(HWND window, DWORD event, long childId)
{
    if (window)
        NotifyWinEvent(event, window, OBJID_CLIENT, childId);
}

void CAccessibleChanges::Notify(HWND window, const IAccessibleContent& content)
{
    std::vector<std::pair<std::wstring, std::wstring>> now;
    const AccessibleItem self = content.AccessibleSelf();
    now.emplace_back(self.name, self.value);
    for (int i = 0; i < content.AccessibleElementCount(); ++i) {
        const AccessibleItem element = content.AccessibleElement(i);
        now.emplace_back(element.name, element.value);
    }
    if (m_bStarted && now.size() == m_told.size()) {
        for (size_t i = 0; i < now.size(); ++i) {
            if (now[i].first != m_told[i].first)
                NotifyAccessible(window, EVENT_OBJECT_NAMECHANGE, long(i));
            if (now[i].second != m_told[i].second)
                NotifyAccessible(window, EVENT_OBJECT_VALUECHANGE, long(i));
        }
    }
    m_told = std::move(now);
    m_bStarted = true;
}
