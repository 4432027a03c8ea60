#pragma once
// Files dragged over a window and dropped on it, through OLE: while the pointer moves, the window says
// what a drop there would do, and the source's cursor shows it. Needs OLE on the thread
// (Application::Initialize starts it).
// https://learn.microsoft.com/windows/win32/api/oleidl/nn-oleidl-idroptarget

#include "base/ComPtr.h"

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

class FileDropTarget final : public IDropTarget {
public:
    FileDropTarget() = default;
    // Revoked from every window it was registered on.
    ~FileDropTarget();
    FileDropTarget(const FileDropTarget&) = delete;
    FileDropTarget& operator=(const FileDropTarget&) = delete;

    // Takes the drops of window (and of its children that have no target of their own). Revoke before the
    // window goes; false when OLE refuses, and then nothing is revoked for it. Once revoked from its last
    // window, the object is cut off from every source that still holds it, so that none calls it after it
    // is gone.
    bool Register(HWND window);
    void Revoke(HWND window);

    // What a drop of the dragged files at this screen point would do: DROPEFFECT_COPY, DROPEFFECT_LINK or
    // DROPEFFECT_NONE. Asked as the pointer enters and moves.
    std::function<DWORD(POINT screen, const std::vector<std::wstring>& files)> OnOver;
    // The drag left the window, or ended elsewhere.
    std::function<void()> OnLeave;
    // The files were dropped at this screen point. False when they could not be taken: the source then
    // learns that nothing was dropped.
    std::function<bool(POINT screen, const std::vector<std::wstring>& files)> OnDrop;
    // The handlers run inside OLE's drag loop, where the source program waits: an error there is told
    // once they have returned (Application::HandleCurrentExceptionLater).

    // IUnknown: the object's life is its owner's; the count only keeps OLE's calls honest.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

private:
    DWORD EffectAt(POINTL at, DWORD allowed) const;

    ULONG references_ = 1;
    std::vector<std::wstring> files_;
    std::vector<base::DropRegistration> registrations_;
};

// The paths an HDROP carries, every one of them, whole.
std::vector<std::wstring> DroppedPaths(HDROP drop);

} // namespace ui
