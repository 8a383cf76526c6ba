// The component model: an owner frees what it owns; components have a name,
// a loading state with an after-loading notification, removal notifications,
// and published properties reachable by name (form data and the few callers
// that address a control by its properties rather than by its class).
#pragma once

#include <any>
#include <string>
#include <vector>

#include "ui/property_value.h"

namespace ui {

enum class Operation { Insert, Remove };

// Declares the class name and its place in the kind tree; a component counts
// as every kind it derives from.
#define QUARNEL_COMPONENT(Class, Base)                          \
public:                                                         \
    const char* ClassName() const override { return #Class; }   \
    bool InheritsFrom(const std::string& kind) const override { \
        return kind == #Class || Base::InheritsFrom(kind);      \
    }                                                           \
                                                                \
private:

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    virtual const char* ClassName() const { return "TComponent"; }
    virtual bool InheritsFrom(const std::string& kind) const { return kind == "TComponent"; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;

    // Loading from form data: properties are set while loading, then every
    // loaded component gets Loaded() once, in creation order.
    bool IsLoading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    virtual void Loaded() { loading_ = false; }
    bool IsDestroying() const { return destroying_; }

    // Published properties by name. Each class handles its own and hands the
    // rest to its base; answers false for a name no class knows.
    virtual bool SetProperty(const std::string& name, const PropertyValue& value);
    virtual bool GetIntProperty(const std::string& name, int& value) const;
    // Binds a handler (named in the form data) to one of this component's events.
    virtual bool SetEvent(const std::string& event, const std::any& handler);
    // A component that is not a control, written inside this one in form
    // data (a menu's items): answers whether this component took it in.
    virtual bool AdoptChild(TComponent* child);
    bool SetIntProperty(const std::string& name, int value) {
        return SetProperty(name, PropertyValue::Int(value));
    }

    // Asks to be told when `other` is removed (freed).
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

protected:
    // Told of owned or watched components being inserted or removed.
    virtual void Notification(TComponent* component, Operation operation);
    void MarkDestroying() { destroying_ = true; }
    // Frees the owned components now, last created first; a derived class
    // calls this first in its destructor when it must outlive its children.
    void DestroyComponents();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    std::string name_;
    TComponent* owner_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> watchers_;
    bool loading_ = false;
    bool destroying_ = false;
};

}  // namespace ui
