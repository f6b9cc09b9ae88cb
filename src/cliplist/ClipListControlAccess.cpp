#include "cliplist/ClipListControl.h"

#include <oleacc.h>

#include <cstring>

#include "common/WindowText.h"

namespace cliplist {

// The standard list-box queries, so that screen readers and scripts can read the clips; the system's
// accessibility proxy for list boxes asks them to name the list and its items. WM_GETOBJECT is answered
// with that proxy, where the system has a working one.
bool ClipListControl::AnswerAssistiveQuery(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const int index = int(wp);
    const bool valid = index >= 0 && index < model_.ListCount();
    switch (msg) {
    case LB_GETCOUNT:
        result = model_.ListCount();
        return true;
    case LB_GETCURSEL:
        result = model_.ListIndex() < 0 ? LB_ERR : model_.ListIndex();
        return true;
    case LB_GETTEXTLEN:  // UTF-16 units: this is a Unicode window
        result = valid ? LRESULT(common::Widen(model_.ItemText(index)).size()) : LB_ERR;
        return true;
    case LB_GETTEXT:
        if (!valid || !lp) {
            result = LB_ERR;
            return true;
        }
    {
        // Exactly the length LB_GETTEXTLEN gave and a NUL: the caller sized its buffer by that.
        const std::wstring text = common::Widen(model_.ItemText(index));
        std::memcpy(reinterpret_cast<wchar_t*>(lp), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        result = LRESULT(text.size());
        return true;
    }
    case LB_SETCURSEL:
        if (index < -1 || index >= model_.ListCount()) {
            result = LB_ERR;
            return true;
        }
        model_.SetListIndex(index);
        result = index;
        return true;
    case LB_GETSEL:
        result = valid ? LRESULT(model_.ItemSelected(index)) : LB_ERR;
        return true;
    case LB_GETTOPINDEX:
        result = model_.TopIndex();
        return true;
    case LB_GETITEMHEIGHT:
        result = rowHeight_;
        return true;
    case WM_GETOBJECT:
        // Wine 8 has the proxy only as a stub that ends the process when called: there the system's own
        // answer stands.
        if (LONG(lp) == OBJID_CLIENT && HasStdAccessibleProxy()) {
            IAccessible* proxy = nullptr;
            if (SUCCEEDED(CreateStdAccessibleProxyW(hwnd_, L"ListBox", OBJID_CLIENT, IID_IAccessible,
                                                    reinterpret_cast<void**>(&proxy)))) {
                result = LresultFromObject(IID_IAccessible, wp, proxy);
                proxy->Release();
                return true;
            }
        }
        return false;
    }
    // Any other list-box query is one this list does not answer: say so, as a list box would.
    if (msg >= LB_ADDSTRING && msg <= 0x01B2 /* LB_GETLISTBOXINFO */) {
        result = LB_ERR;
        return true;
    }
    return false;
}

bool ClipListControl::HasStdAccessibleProxy() {
    static const bool has = !GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    return has;
}

}  // namespace cliplist
