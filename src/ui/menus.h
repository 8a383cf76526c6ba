// Popup menus on the platform's own menus: a tree of items described in form
// data (or made in code), turned into a platform menu each time it pops up,
// and the chosen item's OnClick run once the menu has closed.
//
//   Menu1 : TPopupMenu {
//     Item1 : TMenuItem { Caption: "&About" OnClick: AboutClick }
//     Item2 : TMenuItem { Caption: "-" }          a separator line
//     Item3 : TMenuItem { Caption: "More" Sub1 : TMenuItem { ... } }
//   }
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/control.h"

namespace ui {

class TMenuItem : public TComponent {
    QUARNEL_COMPONENT(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // Drawn in bold; Enter on an open menu chooses it.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault) { default_ = isDefault; }
    bool IsLine() const { return caption_ == "-"; }

    // The items below this one (a submenu when there are any). The list does
    // not own them: an item is freed by its owner and leaves the list then.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);

    TNotifyEvent OnClick;
    virtual void Click();

    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    bool AdoptChild(TComponent* child) override;

private:
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
    QUARNEL_COMPONENT(TPopupMenu, TComponent)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The top of the tree; its items are the menu's lines.
    TMenuItem& Items() { return *items_; }
    // Whether a right click on a component that names this menu shows it.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment alignment) { alignment_ = alignment; }
    // The component the menu was last shown for; none once that is freed.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);

    // Shows the menu with its corner (as Alignment says) at the screen point
    // and returns when it closes, after running the chosen item's OnClick.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    bool AdoptChild(TComponent* child) override;

protected:
    void Notification(TComponent* component, Operation operation) override;

private:
    // The window that owns the menu while it is up.
    HWND OwnerWindow() const;

    TMenuItem* items_;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = TPopupAlignment::paLeft;
    TComponent* popupComponent_ = nullptr;
    // Cleared when the menu is freed: a handler run while the menu is up (a
    // timer, a posted message) may free it, and Popup must not touch it then.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The popup menu that form data names for `from` among the components of
// from's owner; EResourceError when there is none.
TPopupMenu* FindPopupMenu(const TComponent& from, const std::string& name);

// Whether `menu` is set and shows itself on a right click.
inline bool ShowsOnRightClick(const TPopupMenu* menu) {
    return menu != nullptr && menu->AutoPopup();
}

void RegisterMenuClasses();

}  // namespace ui
