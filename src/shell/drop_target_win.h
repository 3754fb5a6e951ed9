#pragma once
// AMdroptarget1: an OLE drop target for a window. It takes a drag whose data object offers one
// of the formats it was given, answers the effect a drop would have from the keys held, and
// hands the drop to its owner's handler.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/com_win.h"

namespace kembo {

class AMdroptarget1 final : public IDropTarget {
public:
    // The data object (the one kept since the drag entered), the key state, the effect (which
    // the handler may change) and the pointer in screen coordinates.
    using Handler = std::function<void(IDataObject*& data, DWORD keyState, DWORD& effect, POINTL point)>;

    // Copies the formats; the object starts with one reference, the caller's.
    AMdroptarget1(const FORMATETC* formats, int count);
    AMdroptarget1(const AMdroptarget1&) = delete;
    AMdroptarget1& operator=(const AMdroptarget1&) = delete;

    Handler OnDragEnter;
    Handler OnDragOver;
    Handler OnDrop;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    ~AMdroptarget1() = default;
    // Runs a handler; an error in it is reported, never passed to the caller of the drop.
    void Call(const Handler& handler, DWORD keyState, DWORD& effect, POINTL point);

    LONG references_ = 1;
    std::vector<FORMATETC> formats_;
    ComRef<IDataObject> data_;  // the data object of the drag in progress, when it offers a format
};

// The names of the files in a dropped shell file list (CF_HDROP), in drop order, each whole;
// empty when the data object has none.
std::vector<std::string> GetDroppedFiles(IDataObject* data);

// A drop target registered for a window, locked in memory meanwhile; revoked and unlocked when
// this goes, which must be before the window does. Without OLE on the thread nothing registers
// and the window simply takes no drops.
class DropRegistration {
public:
    DropRegistration(HWND window, AMdroptarget1& target);
    ~DropRegistration();
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;
    bool Registered() const { return registered_; }

private:
    HWND window_;
    AMdroptarget1& target_;
    bool locked_ = false;
    bool registered_ = false;
};

}  // namespace kembo
