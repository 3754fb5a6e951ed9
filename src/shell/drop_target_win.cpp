#include "shell/drop_target_win.h"

#include <shellapi.h>

#include "shell/drop_effect.h"
#include "toolkit/application_win.h"
#include "toolkit/text_win.h"

namespace kembo {

AMdroptarget1::AMdroptarget1(const FORMATETC* formats, int count)
    : formats_(formats, formats + (count > 0 ? count : 0)) {}

HRESULT STDMETHODCALLTYPE AMdroptarget1::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AMdroptarget1::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE AMdroptarget1::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

void AMdroptarget1::Call(const Handler& handler, DWORD keyState, DWORD& effect, POINTL point) {
    if (!handler) return;
    IDataObject* data = data_.Get();
    RunReporting(Application::Current(), [&] { handler(data, keyState, effect, point); });
}

HRESULT STDMETHODCALLTYPE AMdroptarget1::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    data_.Reset();
    DWORD answer = kDropEffectNone;
    if (data) {
        for (FORMATETC format : formats_) {
            if (data->QueryGetData(&format) == S_OK) {
                data->AddRef();
                data_ = ComRef<IDataObject>(data);
                break;
            }
        }
    }
    if (data_) {
        answer = DropEffectFor(keyState);
        Call(OnDragEnter, keyState, answer, point);
    }
    if (effect) *effect = answer;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AMdroptarget1::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    DWORD answer = kDropEffectNone;
    if (data_) {
        answer = DropEffectFor(keyState);
        Call(OnDragOver, keyState, answer, point);
    }
    if (effect) *effect = answer;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AMdroptarget1::DragLeave() {
    data_.Reset();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AMdroptarget1::Drop(IDataObject*, DWORD keyState, POINTL point, DWORD* effect) {
    DWORD answer = kDropEffectNone;
    if (data_) {
        answer = DropEffectFor(keyState);
        Call(OnDrop, keyState, answer, point);
    }
    data_.Reset();
    if (effect) *effect = answer;
    return S_OK;
}

std::vector<std::string> GetDroppedFiles(IDataObject* data) {
    std::vector<std::string> names;
    if (!data) return names;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return names;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        // Read in UTF-16 and at full length: no name is cut or bent to the system code page.
        const auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = DragQueryFileW(drop, i, nullptr, 0);
            std::wstring name(length + 1, L'\0');
            name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
            names.push_back(Narrow(name));
        }
    }
    ReleaseStgMedium(&medium);
    return names;
}

DropRegistration::DropRegistration(HWND window, AMdroptarget1& target) : window_(window), target_(target) {
    locked_ = SUCCEEDED(CoLockObjectExternal(&target_, TRUE, FALSE));
    registered_ = SUCCEEDED(RegisterDragDrop(window_, &target_));
}

DropRegistration::~DropRegistration() {
    if (registered_) RevokeDragDrop(window_);
    if (locked_) CoLockObjectExternal(&target_, FALSE, TRUE);
}

}  // namespace kembo
