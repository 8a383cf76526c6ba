#include "ui/property_value.h"

#include "ui/exceptions.h"

namespace ui {
namespace {

[[noreturn]] void WrongKind(const std::string& property, const char* wanted) {
    throw EResourceError(Format("Property %s: %s expected", property.c_str(), wanted));
}

}  // namespace

int PropertyValue::AsInt(const std::string& property) const {
    if (kind != Kind::Integer) WrongKind(property, "a number");
    return static_cast<int>(integer);
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
