// A non-visual holder of text lines kept in a window's form data, optionally
// scrambled with a key so that the lines do not stand in the program as
// plain text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/control.h"

namespace controls {

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringHolder : public ui::TComponent {
    QUARNEL_COMPONENT(TStringHolder, ui::TComponent)
public:
    explicit TStringHolder(ui::TComponent* owner) : ui::TComponent(owner) {}

    const std::vector<std::string>& Strings() const { return strings_; }
    // Replaces the held lines with a copy of `lines`.
    void SetStrings(const std::vector<std::string>& lines);
    void Add(const std::string& line);

    const std::string& KeyString() const { return keyString_; }
    void SetKeyString(const std::string& key) { keyString_ = key; }
    int Capacity() const { return static_cast<int>(strings_.capacity()); }
    // Slots reserved ahead of use, up to kMaxCapacity; EListError outside
    // 0 to kMaxCapacity.
    void SetCapacity(int capacity);
    static constexpr int kMaxCapacity = 65536;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

    // The persisted form: the key first, then every line scrambled with it.
    std::vector<std::string> StrData() const;
    void SetStrData(const std::vector<std::string>& items);

    // Character i of the text combined by exclusive-or with character
    // (i mod key length) of the key; its own inverse; an empty key changes
    // nothing.
    static std::string Scramble(const std::string& text, const std::string& key);

    ui::TNotifyEvent OnChanging;
    ui::TNotifyEvent OnChange;

    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;

private:
    void Changing();
    void Changed();
    void InsertSorted(const std::string& line);

    std::vector<std::string> strings_;
    std::string keyString_;
    bool sorted_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
    bool reading_ = false;
};

void RegisterStringHolderClass();

}  // namespace controls
