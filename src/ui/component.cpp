#include "ui/component.h"

#include <windows.h>

#include <algorithm>

#include "ui/exceptions.h"

namespace ui {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ != nullptr) owner_->Insert(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Watchers forget this component before it goes.
    std::vector<TComponent*> watchers;
    watchers.swap(watchers_);
    for (TComponent* w : watchers) {
        w->RemoveFreeNotification(this);
        w->Notification(this, Operation::Remove);
    }
    DestroyComponents();
    if (owner_ != nullptr) owner_->Remove(this);
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // its destructor removes it from components_
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_) {
        if (::lstrcmpiA(c->Name().c_str(), name.c_str()) == 0) return c;
    }
    return nullptr;
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    Notification(component, Operation::Insert);
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    if (!destroying_) Notification(component, Operation::Remove);
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) return;
    if (std::find(other->watchers_.begin(), other->watchers_.end(), this) == other->watchers_.end())
        other->watchers_.push_back(this);
    if (std::find(watchers_.begin(), watchers_.end(), other) == watchers_.end())
        watchers_.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (other == nullptr) return;
    other->watchers_.erase(std::remove(other->watchers_.begin(), other->watchers_.end(), this),
                           other->watchers_.end());
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), other), watchers_.end());
}

void TComponent::Notification(TComponent*, Operation) {}

bool TComponent::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Name") {
        name_ = value.AsText(name);
        return true;
    }
    return false;
}

bool TComponent::GetIntProperty(const std::string&, int&) const { return false; }

bool TComponent::SetEvent(const std::string&, const std::any&) { return false; }

bool TComponent::AdoptChild(TComponent*) { return false; }

}  // namespace ui
