#include "ui/DropTarget.h"

#include "ui/Application.h"

#include <shellapi.h>

#include <algorithm>

namespace ui {

namespace {

// The files a drag carries (CF_HDROP), or none when it carries something else.
std::vector<std::wstring> FilesOf(IDataObject* data) {
    if (!data) return {};
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return {};
    std::vector<std::wstring> files;
    if (void* locked = GlobalLock(medium.hGlobal)) {
        // Out of memory, the drag carries nothing for us: no exception may reach OLE's drag loop.
        try {
            files = DroppedPaths(static_cast<HDROP>(locked));
        } catch (...) {
            files.clear();
        }
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return files;
}

} // namespace

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first, so that a long path is read whole.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        paths.push_back(std::move(path));
    }
    return paths;
}

FileDropTarget::~FileDropTarget() {
    if (registrations_.empty()) return;
    registrations_.clear();
    CoDisconnectObject(static_cast<IDropTarget*>(this), 0);
}

bool FileDropTarget::Register(HWND window) {
    base::DropRegistration registration = base::RegisterDropTarget(window, this);
    if (!registration) return false;
    registrations_.push_back(std::move(registration));
    return true;
}

// https://learn.microsoft.com/windows/win32/api/combaseapi/nf-combaseapi-codisconnectobject
void FileDropTarget::Revoke(HWND window) {
    if (!std::erase_if(registrations_, [window](const auto& r) { return r.get() == window; })) return;
    if (registrations_.empty()) CoDisconnectObject(static_cast<IDropTarget*>(this), 0);
}

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() {
    return ++references_;
}

ULONG FileDropTarget::Release() {
    return references_ > 1 ? --references_ : references_;
}

DWORD FileDropTarget::EffectAt(POINTL at, DWORD allowed) const {
    if (files_.empty() || !OnOver) return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    // A handler that fails must not throw back into OLE's drag loop.
    try {
        effect = OnOver(POINT{at.x, at.y}, files_);
    } catch (...) {
        Application::HandleCurrentExceptionLater();
    }
    if (effect == DROPEFFECT_NONE || (effect & allowed) == effect) return effect;
    // The effect only shows what the drop does here; the source's files are never moved or linked by us.
    // A source that offers no link (many offer a copy only) gets a copy, and never a move, which would
    // have it delete its files.
    for (const DWORD other : {DWORD{DROPEFFECT_COPY}, DWORD{DROPEFFECT_LINK}})
        if (allowed & other) return other;
    return DROPEFFECT_NONE;
}

// https://learn.microsoft.com/windows/win32/api/oleidl/nf-oleidl-idroptarget-dragenter
HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    files_ = FilesOf(data);
    *effect = EffectAt(at, *effect);
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = EffectAt(at, *effect);
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    files_.clear();
    try {
        if (OnLeave) OnLeave();
    } catch (...) {
        Application::HandleCurrentExceptionLater();
    }
    return S_OK;
}

// https://learn.microsoft.com/windows/win32/api/oleidl/nf-oleidl-idroptarget-drop
HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) {
    if (!effect) {
        DragLeave(); // the drag is over all the same
        return E_INVALIDARG;
    }
    const std::vector<std::wstring> files = FilesOf(data);
    files_ = files;
    DWORD done = EffectAt(at, *effect);
    files_.clear();
    try {
        if (OnLeave) OnLeave();
        if (done != DROPEFFECT_NONE && (!OnDrop || !OnDrop(POINT{at.x, at.y}, files))) done = DROPEFFECT_NONE;
    } catch (...) {
        done = DROPEFFECT_NONE;
        Application::HandleCurrentExceptionLater();
    }
    *effect = done;
    return S_OK;
}

} // namespace ui
