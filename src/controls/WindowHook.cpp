#include "controls/WindowHook.h"

#include <algorithm>
#include <memory>

#include "ui/application.h"

namespace controls {
namespace {

// Each hooked window carries one link: where its messages go on to, and
// the hook that sees them first (none once the hook has let go while a later
// subclasser kept the link in the chain). The link, not the hook, lives as
// long as the window can call it.
struct WindowLink {
    WNDPROC previous;
    TControlHook* hook;
};

const char kLinkProperty[] = "QuarnelWindowHook";

WindowLink* LinkOf(HWND window) {
    return static_cast<WindowLink*>(::GetPropA(window, kLinkProperty));
}

void DropLink(HWND window) {
    if (WindowLink* link = LinkOf(window)) {
        ::RemovePropA(window, kLinkProperty);
        delete link;
    }
}

// The replacement window procedure, the same for every hooked window.
LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowLink* link = LinkOf(window);
    if (link == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result;
    if (link->hook != nullptr)
        result = link->hook->MessageRoutine(window, message, wParam, lParam);
    else
        result = ::CallWindowProcA(link->previous, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) DropLink(window);
    return result;
}

WNDPROC WindowProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
}

std::unique_ptr<THookList>& ListHolder() {
    static std::unique_ptr<THookList> list;
    return list;
}

}  // namespace

// --------------------------------------------------------------- THookList

THookList::THookList() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &THookList::WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuarnelHookService";
    ::RegisterClassA(&wc);
    // A hidden window of its own: it never shows and is never disabled by a
    // modal window, so the posted messages always arrive.
    window_ = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
}

THookList::~THookList() {
    std::vector<TControlHook*> hooks;
    hooks.swap(hooks_);
    for (TControlHook* hook : hooks) delete hook;
    if (window_ != nullptr) ::DestroyWindow(window_);
}

THookList* THookList::Instance(bool create) {
    std::unique_ptr<THookList>& list = ListHolder();
    if (!list && create) list = std::make_unique<THookList>();
    return list.get();
}

TControlHook* THookList::Find(ui::TWinControl* control) const {
    for (TControlHook* hook : hooks_) {
        if (hook->Control() == control) return hook;
    }
    return nullptr;
}

TControlHook* THookList::FindOrAdd(ui::TWinControl* control) {
    if (TControlHook* hook = Find(control)) return hook;
    hooks_.push_back(new TControlHook(control));
    return hooks_.back();
}

bool THookList::Contains(TControlHook* hook) const {
    return std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end();
}

void THookList::Post(UINT message, TControlHook* hook) const {
    if (window_ != nullptr) ::PostMessageA(window_, message, 0, reinterpret_cast<LPARAM>(hook));
}

void THookList::Receive(UINT message, TControlHook* hook) {
    // A hook freed in the meantime is no longer listed; its pointer is not used.
    if (!Contains(hook)) return;
    if (message == WM_REHOOK) {
        hook->HookWindow();
    } else if (message == WM_RELEASEHOOK && hook->Clients().empty()) {
        Release(hook);
    }
}

void THookList::Release(TControlHook* hook) {
    if (hook->Busy()) {
        // A message of its window is still being handled further up the stack.
        hook->ReleaseWhenIdle();
        return;
    }
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
    delete hook;
}

LRESULT CALLBACK THookList::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_REHOOK || message == WM_RELEASEHOOK) {
        if (THookList* list = Instance(false)) {
            try {
                list->Receive(message, reinterpret_cast<TControlHook*>(lParam));
            } catch (const std::exception& error) {
                if (ui::Application() != nullptr) ui::Application()->HandleException(error);
            }
        }
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// ------------------------------------------------------------ TControlHook

TControlHook::TControlHook(ui::TWinControl* control) : ui::TComponent(nullptr), control_(control) {
    if (control_ != nullptr) FreeNotification(control_);
}

TControlHook::~TControlHook() {
    destroying_ = true;
    UnhookWindow();
    for (TWindowHook* client : clients_) client->hook_ = nullptr;
    clients_.clear();
    if (control_ != nullptr) RemoveFreeNotification(control_);
}

void TControlHook::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TComponent::Notification(component, operation);
    if (operation == ui::Operation::Remove && component == control_) control_ = nullptr;
}

void TControlHook::AddClient(TWindowHook* client) {
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void TControlHook::RemoveClient(TWindowHook* client) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
    if (clients_.empty()) UnhookWindow();
}

void TControlHook::HookWindow() {
    if (control_ == nullptr || control_->IsDestroying() || destroying_) return;
    control_->HandleNeeded();
    HWND window = control_->Handle();
    if (window == nullptr) return;
    if (WindowLink* link = LinkOf(window)) {
        // Still in the chain (on top, or under a later subclasser): serve
        // it again rather than stacking a second link above that subclasser.
        link->hook = this;
    } else {
        auto* fresh = new WindowLink{WindowProcOf(window), this};
        ::SetPropA(window, kLinkProperty, fresh);
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedWindowProc));
    }
    window_ = window;
    hooked_ = true;
}

void TControlHook::UnhookWindow() {
    if (!hooked_) return;
    hooked_ = false;
    HWND window = window_;
    window_ = nullptr;
    if (window == nullptr || !::IsWindow(window)) return;
    WindowLink* link = LinkOf(window);
    if (link == nullptr) return;
    if (WindowProcOf(window) == &HookedWindowProc) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous));
        DropLink(window);
    } else if (link->hook == this) {
        // Somebody subclassed the window after us: their procedure calls
        // ours, so ours stays and passes every message on.
        link->hook = nullptr;
    }
}

bool TControlHook::Dispatching() const {
    return !clients_.empty() && control_ != nullptr && !destroying_ && !control_->IsDestroying();
}

bool TControlHook::Offer(THookMessage& message, bool before) {
    bool handled = false;
    const std::vector<TWindowHook*> clients = clients_;
    for (auto it = clients.rbegin(); it != clients.rend() && !handled; ++it) {
        // A client may leave while an earlier one handles the message.
        if (std::find(clients_.begin(), clients_.end(), *it) == clients_.end()) continue;
        const THookMessageEvent& handler = before ? (*it)->BeforeMessage : (*it)->AfterMessage;
        if (!handler) continue;
        try {
            handler(*it, message, handled);
        } catch (const std::exception& error) {
            if (ui::Application() != nullptr) ui::Application()->HandleException(error);
        }
    }
    return handled;
}

LRESULT TControlHook::MessageRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++depth_;
    THookMessage m{message, wParam, lParam, 0};
    const bool handled = message != WM_QUIT && Dispatching() && Offer(m, true);
    if (!handled || message == WM_DESTROY) {
        WindowLink* link = LinkOf(window);
        WNDPROC previous = link != nullptr ? link->previous : nullptr;
        m.Result = previous != nullptr
                       ? ::CallWindowProcA(previous, window, m.Msg, m.WParam, m.LParam)
                       : ::DefWindowProcA(window, m.Msg, m.WParam, m.LParam);
        if (Dispatching()) Offer(m, false);
    }
    if (message == WM_DESTROY) {
        UnhookWindow();
        // Only the handle goes (the window is being made again): hook the
        // new one once it exists.
        THookList* list = THookList::Instance(false);
        if (list != nullptr && !destroying_ && control_ != nullptr && !control_->IsDestroying())
            list->Post(WM_REHOOK, this);
    }
    if (--depth_ == 0 && releaseWhenIdle_) {
        releaseWhenIdle_ = false;
        THookList* list = THookList::Instance(false);
        if (list != nullptr && clients_.empty() && list->Contains(this)) {
            list->Release(this);  // frees this object: nothing of it is used below
            return m.Result;
        }
    }
    return m.Result;
}

// ------------------------------------------------------------- TWindowHook

TWindowHook::TWindowHook(ui::TComponent* owner) : ui::TComponent(owner) {}

TWindowHook::~TWindowHook() {
    BeforeMessage = nullptr;
    AfterMessage = nullptr;
    Detach();
    if (control_ != nullptr) RemoveFreeNotification(control_);
    control_ = nullptr;
}

void TWindowHook::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active)
        Attach();
    else
        Detach();
}

void TWindowHook::SetWinControl(ui::TWinControl* control) {
    if (control == control_) return;
    const bool wasActive = active_;
    Detach();
    if (control_ != nullptr) RemoveFreeNotification(control_);
    control_ = control;
    if (control_ != nullptr) FreeNotification(control_);
    if (wasActive) Attach();
}

void TWindowHook::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TComponent::Notification(component, operation);
    if (operation == ui::Operation::Remove && component == control_) SetWinControl(nullptr);
}

void TWindowHook::Attach() {
    if (control_ == nullptr || IsDestroying()) return;
    TControlHook* hook = THookList::Instance(true)->FindOrAdd(control_);
    hook->AddClient(this);
    hook_ = hook;
    hook->HookWindow();
}

void TWindowHook::Detach() {
    TControlHook* hook = hook_;
    hook_ = nullptr;
    if (hook == nullptr) return;
    hook->RemoveClient(this);  // the last client leaving unhooks the window
    if (hook->Clients().empty()) {
        if (THookList* list = THookList::Instance(false)) list->Post(WM_RELEASEHOOK, hook);
    }
}

}  // namespace controls
