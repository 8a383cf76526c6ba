// Binary data the program carries as resources, and the binary properties of
// form data that stand for such data or hold it in place.
#pragma once

#include <string>
#include <string_view>

#include "ui/property_value.h"

namespace ui {

// The bytes of an RCDATA resource of the program; EResourceError if missing.
std::string LoadResourceData(const std::string& name);
// The same bytes where the program's image keeps them, for its whole run:
// nothing is copied. They may end in the zero bytes the build pads each
// resource with.
std::string_view ResourceView(const std::string& name);

// The bytes a binary property stands for: written in place or named as a
// resource; EResourceError for a value of another kind.
std::string BinaryValue(const std::string& property, const PropertyValue& value);

}  // namespace ui
