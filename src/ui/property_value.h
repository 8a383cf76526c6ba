// One value of a published property as the form data states it: a number, a
// text, an identifier (true, bsSingle, clNavy, a handler name), a list of
// values, binary data written out in hexadecimal, or a reference to binary
// data in another resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

struct PropertyValue {
    enum class Kind { Integer, Text, Identifier, List, Binary, Resource };

    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    // Text, Identifier (the name), Binary (the bytes), Resource (the resource name)
    std::string text;
    std::vector<PropertyValue> items;

    static PropertyValue Int(std::int64_t v) {
        PropertyValue p;
        p.kind = Kind::Integer;
        p.integer = v;
        return p;
    }
    static PropertyValue Str(std::string s) {
        PropertyValue p;
        p.kind = Kind::Text;
        p.text = std::move(s);
        return p;
    }
    static PropertyValue Ident(std::string s) {
        PropertyValue p;
        p.kind = Kind::Identifier;
        p.text = std::move(s);
        return p;
    }

    // Conversions that raise EResourceError with the property name when the
    // value is of another kind, or a number outside the type's range.
    int AsInt(const std::string& property) const;
    // 32 bits written either signed or unsigned (colours: 0x80000005 and
    // -2147483643 are the same value).
    std::uint32_t As32Bits(const std::string& property) const;
    bool AsBool(const std::string& property) const;
    const std::string& AsText(const std::string& property) const;
    const std::string& AsIdent(const std::string& property) const;
    std::vector<std::string> AsTextList(const std::string& property) const;
    std::vector<std::string> AsIdentSet(const std::string& property) const;
};

}  // namespace ui
