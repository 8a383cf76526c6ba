#include "controls/StringHolder.h"

#include <algorithm>

#include "ui/exceptions.h"
#include "ui/form.h"

namespace controls {

std::string TStringHolder::Scramble(const std::string& text, const std::string& key) {
    if (key.empty()) return text;
    std::string out = text;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(out[i] ^ key[i % key.size()]);
    return out;
}

// Nothing is told while the holder is being read from form data.
void TStringHolder::Changing() {
    if (!reading_ && !IsLoading() && OnChanging) OnChanging(this);
}

void TStringHolder::Changed() {
    if (!reading_ && !IsLoading() && OnChange) OnChange(this);
}

void TStringHolder::InsertSorted(const std::string& line) {
    auto position = std::lower_bound(strings_.begin(), strings_.end(), line);
    if (position != strings_.end() && *position == line) {
        if (duplicates_ == TDuplicates::dupIgnore) return;
        if (duplicates_ == TDuplicates::dupError)
            throw ui::EListError("String list does not allow duplicates");
    }
    strings_.insert(position, line);
}

void TStringHolder::Add(const std::string& line) {
    Changing();
    if (sorted_)
        InsertSorted(line);
    else
        strings_.push_back(line);
    Changed();
}

void TStringHolder::SetStrings(const std::vector<std::string>& lines) {
    Changing();
    strings_.clear();
    for (const std::string& line : lines) {
        if (sorted_)
            InsertSorted(line);
        else
            strings_.push_back(line);
    }
    Changed();
}

// A window's text needs a few dozen lines; a capacity far beyond that is a
// mistake in the data, not a request for hundreds of megabytes.
void TStringHolder::SetCapacity(int capacity) {
    if (capacity < 0 || capacity > kMaxCapacity)
        throw ui::EListError(ui::Format("List capacity out of bounds (%d)", capacity));
    strings_.reserve(static_cast<size_t>(capacity));
}

void TStringHolder::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    sorted_ = sorted;
    if (sorted_) {
        Changing();
        std::vector<std::string> lines;
        lines.swap(strings_);
        for (const std::string& line : lines) InsertSorted(line);
        Changed();
    }
}

std::vector<std::string> TStringHolder::StrData() const {
    std::vector<std::string> items;
    items.push_back(keyString_);
    for (const std::string& line : strings_) items.push_back(Scramble(line, keyString_));
    return items;
}

void TStringHolder::SetStrData(const std::vector<std::string>& items) {
    // Reading the persisted form raises no change events, also when a
    // duplicate in a sorted list ends it.
    struct Reading {
        bool& flag;
        explicit Reading(bool& f) : flag(f) { flag = true; }
        ~Reading() { flag = false; }
    } reading(reading_);
    keyString_ = items.empty() ? std::string() : items.front();
    strings_.clear();
    for (size_t i = 1; i < items.size(); ++i) {
        // A sorted holder keeps its order whichever property the form data
        // states first.
        if (sorted_)
            InsertSorted(Scramble(items[i], keyString_));
        else
            strings_.push_back(Scramble(items[i], keyString_));
    }
}

bool TStringHolder::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "StrData") {
        SetStrData(value.AsTextList(name));
    } else if (name == "Capacity") {
        const int capacity = value.AsInt(name);
        if (capacity < 0 || capacity > kMaxCapacity)
            throw ui::EResourceError(ui::Format("Property %s: %d is out of range (0 to %d)",
                                                name.c_str(), capacity, kMaxCapacity));
        SetCapacity(capacity);
    } else if (name == "Sorted") {
        SetSorted(value.AsBool(name));
    } else if (name == "KeyString") {
        SetKeyString(value.AsText(name));
    } else if (name == "Duplicates") {
        const std::string& d = value.AsIdent(name);
        if (d == "dupIgnore")
            duplicates_ = TDuplicates::dupIgnore;
        else if (d == "dupAccept")
            duplicates_ = TDuplicates::dupAccept;
        else if (d == "dupError")
            duplicates_ = TDuplicates::dupError;
        else
            throw ui::EResourceError("Unknown duplicates rule " + d);
    } else {
        return ui::TComponent::SetProperty(name, value);
    }
    return true;
}

bool TStringHolder::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnChange")
        OnChange = std::any_cast<ui::TNotifyEvent>(handler);
    else if (event == "OnChanging")
        OnChanging = std::any_cast<ui::TNotifyEvent>(handler);
    else
        return ui::TComponent::SetEvent(event, handler);
    return true;
}

void RegisterStringHolderClass() {
    ui::RegisterComponentClass("TStringHolder",
                               [](ui::TComponent* o) { return new TStringHolder(o); });
}

}  // namespace controls
