#pragma once
// Owns one COM interface pointer: released when it goes, never copied. Also the thread's COM and OLE, and a
// window's registration for OLE drops.

#include "base/Handles.h"

#include <objbase.h>
#include <ole2.h>
#include <unknwn.h>

#include <utility>

namespace base {

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // For the creating call: the pointer it fills, as void** (CoCreateInstance, QueryInterface).
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    // The IID of T with the pointer to fill, as IID_PPV_ARGS gives them, so that the two cannot name
    // different interfaces: auto [iid, out] = link.put_iid(); CoCreateInstance(..., iid, out).
    struct IidAndPointer {
        const IID& iid;
        void** pointer;
    };
    IidAndPointer put_iid() { return {__uuidof(T), put()}; }

private:
    T* p_ = nullptr;
};

// COM on the calling thread for the owner's life. Apartment-threaded without OLE1 DDE unless told
// otherwise, as the shell asks of its callers. On a thread that already has COM (in either model) this
// adds a reference or fails harmlessly; only a start made here is undone.
class ComApartment {
public:
    explicit ComApartment(DWORD flags = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)
        : started_(SUCCEEDED(CoInitializeEx(nullptr, flags))) {}
    ~ComApartment() {
        if (started_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Started() const { return started_; }

private:
    bool started_;
};

// OLE on the calling thread for the owner's life (an apartment-threaded COM, and what drag and drop and
// the clipboard need); undone only when it was started here.
class OleApartment {
public:
    OleApartment() : started_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleApartment() {
        if (started_) OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

private:
    bool started_;
};

// A window registered as the target of OLE drops, revoked when its owner goes: what one owner registered,
// no other code revokes. Empty when the registration was refused (the window has a target already, or OLE
// is not started). The owner must go while the window still exists.
// https://learn.microsoft.com/windows/win32/api/ole2/nf-ole2-registerdragdrop
// https://learn.microsoft.com/windows/win32/api/ole2/nf-ole2-revokedragdrop
struct DropRegistrationTraits {
    using pointer = HWND;
    static HWND Empty() { return nullptr; }
    // RegisterDragDrop's reference to the target goes with the revocation.
    static void Close(HWND window) { RevokeDragDrop(window); }
};
using DropRegistration = UniqueHandleT<DropRegistrationTraits>;
inline DropRegistration RegisterDropTarget(HWND window, IDropTarget* target) {
    return DropRegistration(SUCCEEDED(RegisterDragDrop(window, target)) ? window : nullptr);
}

} // namespace base
