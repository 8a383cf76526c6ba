// The window hook service: components that want to see the messages of a
// window (before and after the window's own procedure) register a
// TWindowHook; one TControlHook per window replaces the window procedure and
// offers each message to its clients. Re-hooking after a window handle is
// made again, and freeing hooks nobody uses, are deferred through messages
// posted to the service's own hidden window.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/control.h"

namespace controls {

// Private messages of the hook service's window; lParam is the TControlHook.
const UINT WM_REHOOK = 0xB052;
const UINT WM_RELEASEHOOK = 0xB053;

struct THookMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// A client's view of one message. Setting `handled` stops the offer to the
// remaining clients (and, before the window's procedure, keeps the message
// from it).
using THookMessageEvent =
    std::function<void(ui::TComponent* sender, THookMessage& message, bool& handled)>;

class TWindowHook;

// One hooked window: its clients and the link into its window procedure.
class TControlHook : public ui::TComponent {
    QUARNEL_COMPONENT(TControlHook, ui::TComponent)
public:
    explicit TControlHook(ui::TWinControl* control);
    ~TControlHook() override;

    ui::TWinControl* Control() const { return control_; }
    const std::vector<TWindowHook*>& Clients() const { return clients_; }
    void AddClient(TWindowHook* client);
    void RemoveClient(TWindowHook* client);
    // Whether the replacement procedure currently serves the window.
    bool Hooked() const { return hooked_; }
    // Installs the replacement procedure (making the window's handle first).
    void HookWindow();
    // Puts the previous procedure back when the replacement is still the
    // window's procedure; under a later subclasser it stays in the chain and
    // only passes messages on.
    void UnhookWindow();

    // Every message of the hooked window comes through here.
    LRESULT MessageRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Whether a message of this window is being handled right now.
    bool Busy() const { return depth_ > 0; }
    // Frees the hook once the message being handled returns.
    void ReleaseWhenIdle() { releaseWhenIdle_ = true; }

protected:
    void Notification(ui::TComponent* component, ui::Operation operation) override;

private:
    bool Dispatching() const;
    // Offers the message to the clients, last added first; answers whether
    // one of them handled it.
    bool Offer(THookMessage& message, bool before);

    ui::TWinControl* control_;
    std::vector<TWindowHook*> clients_;
    HWND window_ = nullptr;
    bool hooked_ = false;
    bool destroying_ = false;
    int depth_ = 0;
    bool releaseWhenIdle_ = false;
};

// The list of hooked windows of the process and the service's window.
class THookList {
public:
    THookList();
    ~THookList();
    THookList(const THookList&) = delete;
    THookList& operator=(const THookList&) = delete;

    // The process's list: made on first use when `create`, else none before.
    static THookList* Instance(bool create);

    TControlHook* Find(ui::TWinControl* control) const;
    TControlHook* FindOrAdd(ui::TWinControl* control);
    bool Contains(TControlHook* hook) const;
    // Posts one of the private messages about `hook` to the service window.
    void Post(UINT message, TControlHook* hook) const;
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Receive(UINT message, TControlHook* hook);
    void Release(TControlHook* hook);

    std::vector<TControlHook*> hooks_;
    HWND window_ = nullptr;

    friend class TControlHook;
};

// A client of the hook service: sees the messages of WinControl while
// Active.
class TWindowHook : public ui::TComponent {
    QUARNEL_COMPONENT(TWindowHook, ui::TComponent)
public:
    explicit TWindowHook(ui::TComponent* owner);
    ~TWindowHook() override;

    bool Active() const { return active_; }
    void SetActive(bool active);
    ui::TWinControl* WinControl() const { return control_; }
    void SetWinControl(ui::TWinControl* control);

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    void Notification(ui::TComponent* component, ui::Operation operation) override;

private:
    void Attach();
    void Detach();

    bool active_ = true;
    ui::TWinControl* control_ = nullptr;
    TControlHook* hook_ = nullptr;

    friend class TControlHook;
};

}  // namespace controls
