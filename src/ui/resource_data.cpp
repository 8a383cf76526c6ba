#include "ui/resource_data.h"

#include <windows.h>

#include "ui/exceptions.h"

namespace ui {

std::string_view ResourceView(const std::string& name) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC info = ::FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (info == nullptr) throw EResourceError("Resource " + name + " not found");
    HGLOBAL data = ::LoadResource(module, info);
    const void* bytes = data != nullptr ? ::LockResource(data) : nullptr;
    if (bytes == nullptr) throw EResourceError("Resource " + name + " cannot be read");
    return std::string_view(static_cast<const char*>(bytes), ::SizeofResource(module, info));
}

std::string LoadResourceData(const std::string& name) { return std::string(ResourceView(name)); }

std::string BinaryValue(const std::string& property, const PropertyValue& value) {
    if (value.kind == PropertyValue::Kind::Binary) return value.text;
    if (value.kind == PropertyValue::Kind::Resource) return LoadResourceData(value.text);
    throw EResourceError("Property " + property + ": binary data or a resource expected");
}

}  // namespace ui
