#include "ui/menus.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"

namespace ui {
namespace {

// A platform menu destroyed with its submenus on exit.
class ScopedMenu {
public:
    explicit ScopedMenu(HMENU menu) : menu_(menu) {}
    ~ScopedMenu() {
        if (menu_ != nullptr) ::DestroyMenu(menu_);
    }
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    HMENU Get() const { return menu_; }
    // The menu now belongs to the menu it was appended to.
    HMENU Detach() {
        HMENU m = menu_;
        menu_ = nullptr;
        return m;
    }

private:
    HMENU menu_;
};

}  // namespace

// ------------------------------------------------------------------ TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (parent_ != nullptr) parent_->Remove(this);
    for (TMenuItem* item : items_) item->parent_ = nullptr;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item == nullptr || item == this || item->parent_ == this) return;
    if (item->parent_ != nullptr) item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

bool TMenuItem::AdoptChild(TComponent* child) {
    auto* item = dynamic_cast<TMenuItem*>(child);
    if (item == nullptr) return false;
    Add(item);
    return true;
}

bool TMenuItem::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Caption")
        SetCaption(value.AsText(name));
    else if (name == "Checked")
        SetChecked(value.AsBool(name));
    else if (name == "Default")
        SetDefault(value.AsBool(name));
    else if (name == "Enabled")
        SetEnabled(value.AsBool(name));
    else if (name == "Visible")
        SetVisible(value.AsBool(name));
    else
        return TComponent::SetProperty(name, value);
    return true;
}

bool TMenuItem::SetEvent(const std::string& event, const std::any& handler) {
    if (event != "OnClick") return TComponent::SetEvent(event, handler);
    OnClick = std::any_cast<TNotifyEvent>(handler);
    return true;
}

// ----------------------------------------------------------------- TPopupMenu

namespace {

// Appends the visible items below `parent` to `menu`, numbering the ones
// that can be chosen from `next` on.
void AppendItems(HMENU menu, TMenuItem& parent, unsigned& next,
                 std::vector<std::pair<unsigned, TMenuItem*>>& commands) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Item(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (item->Checked()) flags |= MF_CHECKED;
        if (!item->Enabled()) flags |= MF_GRAYED;
        if (item->Count() > 0) {
            ScopedMenu submenu(::CreatePopupMenu());
            if (submenu.Get() == nullptr) continue;
            AppendItems(submenu.Get(), *item, next, commands);
            if (::AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()),
                              item->Caption().c_str()))
                submenu.Detach();
            continue;
        }
        const unsigned id = next++;
        commands.emplace_back(id, item);
        ::AppendMenuA(menu, flags, id, item->Caption().c_str());
        if (item->Default()) ::SetMenuDefaultItem(menu, id, FALSE);
    }
}

bool Contains(const TMenuItem& parent, const TMenuItem* wanted) {
    for (int i = 0; i < parent.Count(); ++i) {
        if (parent.Item(i) == wanted || Contains(*parent.Item(i), wanted)) return true;
    }
    return false;
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu() { *alive_ = false; }

void TPopupMenu::SetPopupComponent(TComponent* component) {
    // Links are kept, not taken back: the component may also name this menu
    // as its own and must hear when the menu goes.
    popupComponent_ = component;
    if (component != nullptr) FreeNotification(component);
}

void TPopupMenu::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == popupComponent_) popupComponent_ = nullptr;
}

HWND TPopupMenu::OwnerWindow() const {
    TForm* form = nullptr;
    if (auto* control = dynamic_cast<TControl*>(popupComponent_))
        form = control->ParentForm();
    else if (popupComponent_ != nullptr)
        form = dynamic_cast<TForm*>(popupComponent_->Owner());
    if (form != nullptr && form->HandleAllocated()) return form->Handle();
    if (Application() != nullptr && Application()->Handle() != nullptr)
        return Application()->Handle();
    return ::GetActiveWindow();
}

void TPopupMenu::Popup(int x, int y) {
    // Taken before the handler runs: a handler may free the menu (and the
    // handler with it, so a copy of it is what runs), and then nothing of
    // the menu is read and nothing is shown.
    const std::shared_ptr<bool> alive = alive_;
    if (OnPopup) {
        const TNotifyEvent handler = OnPopup;
        handler(this);
        if (!*alive) return;
    }
    ScopedMenu menu(::CreatePopupMenu());
    if (menu.Get() == nullptr) return;
    unsigned next = 1;
    std::vector<std::pair<unsigned, TMenuItem*>> commands;
    AppendItems(menu.Get(), *items_, next, commands);
    UINT flags = TPM_RIGHTBUTTON | TPM_RETURNCMD;
    if (alignment_ == TPopupAlignment::paRight) flags |= TPM_RIGHTALIGN;
    if (alignment_ == TPopupAlignment::paCenter) flags |= TPM_CENTERALIGN;
    const UINT chosen =
        static_cast<UINT>(::TrackPopupMenu(menu.Get(), flags, x, y, 0, OwnerWindow(), nullptr));
    // Freed while it was up: nothing of it is left to read, and no choice
    // from a menu that is gone is carried out.
    if (chosen == 0 || !*alive) return;
    for (const auto& [id, item] : commands) {
        // An item freed while the menu was up is no longer in the tree.
        if (id == chosen && Contains(*items_, item)) {
            item->Click();
            break;
        }
    }
}

bool TPopupMenu::AdoptChild(TComponent* child) { return items_->AdoptChild(child); }

bool TPopupMenu::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "AutoPopup") {
        SetAutoPopup(value.AsBool(name));
    } else if (name == "Alignment") {
        const std::string& a = value.AsIdent(name);
        if (a == "paLeft")
            alignment_ = TPopupAlignment::paLeft;
        else if (a == "paRight")
            alignment_ = TPopupAlignment::paRight;
        else if (a == "paCenter")
            alignment_ = TPopupAlignment::paCenter;
        else
            throw EResourceError("Unknown popup alignment " + a);
    } else {
        return TComponent::SetProperty(name, value);
    }
    return true;
}

bool TPopupMenu::SetEvent(const std::string& event, const std::any& handler) {
    if (event != "OnPopup") return TComponent::SetEvent(event, handler);
    OnPopup = std::any_cast<TNotifyEvent>(handler);
    return true;
}

TPopupMenu* FindPopupMenu(const TComponent& from, const std::string& name) {
    TComponent* owner = from.Owner();
    auto* menu = dynamic_cast<TPopupMenu*>(owner != nullptr ? owner->FindComponent(name) : nullptr);
    if (menu == nullptr)
        throw EResourceError("PopupMenu " + name + " of " + from.Name() + " not found");
    return menu;
}

void RegisterMenuClasses() {
    RegisterComponentClass("TPopupMenu", [](TComponent* o) { return new TPopupMenu(o); });
    RegisterComponentClass("TMenuItem", [](TComponent* o) { return new TMenuItem(o); });
}

}  // namespace ui
