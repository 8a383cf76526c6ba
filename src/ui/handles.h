// Owning wrappers for platform handles: each handle lives in exactly one
// object, which releases it when the object goes out of scope. None of them
// can be copied; all can be moved.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <utility>

namespace ui {

// A kernel handle closed with CloseHandle (files, find handles excluded).
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Detach()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.Detach();
        }
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    HANDLE Detach() {
        HANDLE h = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return h;
    }
    // Closes now; answers whether the platform accepted the close.
    bool Close() {
        bool ok = true;
        if (IsValid()) ok = ::CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A directory search started by FindFirstFileA.
class ScopedFind {
public:
    ScopedFind() = default;
    explicit ScopedFind(HANDLE handle) : handle_(handle) {}
    ~ScopedFind() { Close(); }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Close() {
        if (IsValid()) ::FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// An open registry key.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : key_(other.Detach()) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = other.Detach();
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Get() const { return key_; }
    HKEY* Receive() {
        Close();
        return &key_;
    }
    HKEY Detach() {
        HKEY k = key_;
        key_ = nullptr;
        return k;
    }
    void Close() {
        if (key_ != nullptr) ::RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

// A GDI object (bitmap, font, brush, pen, region) deleted with DeleteObject.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T object) : object_(object) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : object_(other.Detach()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T Detach() {
        T o = object_;
        object_ = nullptr;
        return o;
    }
    void Reset(T object = nullptr) {
        if (object_ != nullptr) ::DeleteObject(object_);
        object_ = object;
    }

private:
    T object_ = nullptr;
};

using ScopedBitmap = GdiObject<HBITMAP>;
using ScopedFont = GdiObject<HFONT>;
using ScopedBrush = GdiObject<HBRUSH>;
using ScopedPen = GdiObject<HPEN>;
using ScopedRegion = GdiObject<HRGN>;

// A device context of a window, from GetDC or GetWindowDC, released on exit.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? ::GetWindowDC(window) : ::GetDC(window)) {}
    ~ScopedGetDC() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context from CreateCompatibleDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith = nullptr) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_ != nullptr) ::DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects a GDI object into a device context and puts the old one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectObjectScope() {
        if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves a device context's state (clip region, origins, colours) and restores it.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDCState() {
        if (saved_ != 0) ::RestoreDC(dc_, saved_);
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// Puts back a device context's viewport origin and clip region, and nothing
// else. Lighter than SavedDCState: restoring a whole saved state selects the
// font again, and Wine looks up the X resources for every font selected.
class SavedOriginAndClip {
public:
    explicit SavedOriginAndClip(HDC dc) : dc_(dc), clip_(::CreateRectRgn(0, 0, 0, 0)) {
        ::GetViewportOrgEx(dc_, &origin_);
        hadClip_ = clip_ && ::GetClipRgn(dc_, clip_.Get()) == 1;
    }
    ~SavedOriginAndClip() {
        ::SelectClipRgn(dc_, hadClip_ ? clip_.Get() : nullptr);
        ::SetViewportOrgEx(dc_, origin_.x, origin_.y, nullptr);
    }
    SavedOriginAndClip(const SavedOriginAndClip&) = delete;
    SavedOriginAndClip& operator=(const SavedOriginAndClip&) = delete;

private:
    HDC dc_;
    POINT origin_{0, 0};
    ScopedRegion clip_;
    bool hadClip_ = false;
};

// A COM interface pointer released on exit.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T** Receive() {
        Reset();
        return &ptr_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    void Reset() {
        if (ptr_ != nullptr) ptr_->Release();
        ptr_ = nullptr;
    }

private:
    T* ptr_ = nullptr;
};

// Holds the component-object runtime for the life of the object.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool IsInitialised() const { return initialised_; }

private:
    bool initialised_;
};

// A block of memory freed with the allocator it came from (the shell's,
// for item id lists and the text of its answers: Windows 95's shell may
// hand out memory that is not the component-object task allocator's).
template <typename T>
class AllocatorMemory {
public:
    explicit AllocatorMemory(IMalloc& allocator) : allocator_(allocator) {}
    ~AllocatorMemory() {
        if (ptr_ != nullptr) allocator_.Free(ptr_);
    }
    AllocatorMemory(const AllocatorMemory&) = delete;
    AllocatorMemory& operator=(const AllocatorMemory&) = delete;
    T* Get() const { return ptr_; }
    T** Receive() { return &ptr_; }

private:
    IMalloc& allocator_;
    T* ptr_ = nullptr;
};

// A library loaded with LoadLibraryA for the life of the object; null when
// the system has none of that name.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* name) : module_(::LoadLibraryA(name)) {}
    ~LoadedLibrary() {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

}  // namespace ui
