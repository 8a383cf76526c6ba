#include "ui/property_value.h"

#include <climits>

#include "ui/exceptions.h"

namespace ui {
namespace {

[[noreturn]] void WrongKind(const std::string& property, const char* wanted) {
    throw EResourceError(Format("Property %s: %s expected", property.c_str(), wanted));
}

[[noreturn]] void OutOfRange(const std::string& property, std::int64_t value) {
    throw EResourceError(Format("Property %s: %lld is out of range", property.c_str(),
                                static_cast<long long>(value)));
}

}  // namespace

int PropertyValue::AsInt(const std::string& property) const {
    if (kind != Kind::Integer) WrongKind(property, "a number");
    if (integer < INT_MIN || integer > INT_MAX) OutOfRange(property, integer);
    return static_cast<int>(integer);
}

std::uint32_t PropertyValue::As32Bits(const std::string& property) const {
    if (kind != Kind::Integer) WrongKind(property, "a number");
    if (integer < INT_MIN || integer > static_cast<std::int64_t>(UINT32_MAX))
        OutOfRange(property, integer);
    return static_cast<std::uint32_t>(integer);
}

bool PropertyValue::AsBool(const std::string& property) const {
    if (kind == Kind::Identifier && (text == "true" || text == "True")) return true;
    if (kind == Kind::Identifier && (text == "false" || text == "False")) return false;
    WrongKind(property, "true or false");
}

const std::string& PropertyValue::AsText(const std::string& property) const {
    if (kind != Kind::Text) WrongKind(property, "a quoted text");
    return text;
}

const std::string& PropertyValue::AsIdent(const std::string& property) const {
    if (kind != Kind::Identifier) WrongKind(property, "an identifier");
    return text;
}

std::vector<std::string> PropertyValue::AsTextList(const std::string& property) const {
    if (kind != Kind::List) WrongKind(property, "a list of texts");
    std::vector<std::string> result;
    for (const PropertyValue& item : items) result.push_back(item.AsText(property));
    return result;
}

std::vector<std::string> PropertyValue::AsIdentSet(const std::string& property) const {
    if (kind != Kind::List) WrongKind(property, "a list of identifiers");
    std::vector<std::string> result;
    for (const PropertyValue& item : items) result.push_back(item.AsIdent(property));
    return result;
}

}  // namespace ui
