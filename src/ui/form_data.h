// Form data: the text that describes a window, its controls and their
// properties, compiled into the program as a resource.
//
//   SetupForm : TSetupForm {          a component: name, class, body
//     Caption: "Quarnel Setup"        a text (C escapes: \\ \" \n \t)
//     ClientWidth: 457                a number
//     BorderIcons: [biSystemMenu]     a list of identifiers, texts or numbers
//     OnCreate: FormCreate            an identifier (handler names too)
//     Image.Data: @TILE               binary data in another resource
//     Glyph.Data: { 424D 3E00 }       binary data in place, in hexadecimal
//     Label1 : TLabel { ... }         an owned component
//   }
//
// Comments run from # to the end of the line. Properties come before the
// components they own.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/property_value.h"

namespace ui {

struct FormNode {
    std::string name;
    std::string className;
    std::vector<std::pair<std::string, PropertyValue>> properties;
    std::vector<FormNode> children;
    int line = 0;
};

// Parses form data; malformed text raises EResourceError naming the line.
FormNode ParseFormData(const std::string& text);

// The bytes of an RCDATA resource of the program; EResourceError if missing.
std::string LoadResourceData(const std::string& name);

// The bytes a binary property stands for: written in place or named as a
// resource; EResourceError for a value of another kind.
std::string BinaryValue(const std::string& property, const PropertyValue& value);

}  // namespace ui
