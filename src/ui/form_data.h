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
// components they own. Numbers are decimal, or hexadecimal after 0x, and
// must fit in 64 bits; a leading 0 is no octal sign. Components and lists
// nest at most kMaxFormDataDepth deep, counted together.
//
// The reader is plain text work; the resources it names are loaded on the
// platform's side (ui/resource_data.h).
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

// Far more than any window needs (the program's forms nest two deep), and
// little enough that parsing, loading the controls and freeing the tree stay
// shallow on the stack, and that the platform's window nesting holds.
constexpr int kMaxFormDataDepth = 32;

// Parses form data; malformed text raises EResourceError naming the line.
FormNode ParseFormData(const std::string& text);

}  // namespace ui
