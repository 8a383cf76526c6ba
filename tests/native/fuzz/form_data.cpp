// The form data reader on any text. It either reads a tree or raises a
// resource error naming the line; a tree it reads is no deeper than the
// limit, and written back out as form data it reads as the same tree. Every
// value converts to what a property asks for, or raises a resource error.
#include "ui/form_data.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/exceptions.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "form data: %s\n", what);
    std::abort();
}

int ListDepth(const ui::PropertyValue& value) {
    if (value.kind != ui::PropertyValue::Kind::List) return 0;
    int deepest = 0;
    for (const ui::PropertyValue& item : value.items) {
        const int depth = ListDepth(item);
        if (depth > deepest) deepest = depth;
    }
    return 1 + deepest;
}

int Depth(const ui::FormNode& node) {
    int deepest = 0;
    for (const auto& property : node.properties) {
        const int depth = ListDepth(property.second);
        if (depth > deepest) deepest = depth;
    }
    for (const ui::FormNode& child : node.children) {
        const int depth = Depth(child);
        if (depth > deepest) deepest = depth;
    }
    return 1 + deepest;
}

void Write(const ui::PropertyValue& value, std::string& out) {
    using Kind = ui::PropertyValue::Kind;
    static const char kHex[] = "0123456789abcdef";
    switch (value.kind) {
        case Kind::Integer:
            out += std::to_string(value.integer);
            break;
        case Kind::Text:
            out += '"';
            for (const char c : value.text) {
                if (c == '"' || c == '\\') {
                    out += '\\';
                    out += c;
                } else if (c == '\n') {
                    out += "\\n";
                } else if (c == '\r') {
                    out += "\\r";
                } else if (c == '\t') {
                    out += "\\t";
                } else {
                    out += c;
                }
            }
            out += '"';
            break;
        case Kind::Identifier:
            out += value.text;
            break;
        case Kind::List:
            out += '[';
            for (const ui::PropertyValue& item : value.items) {
                Write(item, out);
                out += ' ';
            }
            out += ']';
            break;
        case Kind::Binary:
            out += '{';
            for (const char c : value.text) {
                out += kHex[static_cast<unsigned char>(c) >> 4];
                out += kHex[static_cast<unsigned char>(c) & 15];
            }
            out += '}';
            break;
        case Kind::Resource:
            out += '@' + value.text;
            break;
    }
}

void Write(const ui::FormNode& node, std::string& out) {
    out += node.name + " : " + node.className + " {\n";
    for (const auto& property : node.properties) {
        out += property.first + ": ";
        Write(property.second, out);
        out += '\n';
    }
    for (const ui::FormNode& child : node.children) Write(child, out);
    out += "}\n";
}

bool Same(const ui::PropertyValue& a, const ui::PropertyValue& b) {
    if (a.kind != b.kind || a.integer != b.integer || a.text != b.text ||
        a.items.size() != b.items.size())
        return false;
    for (size_t i = 0; i < a.items.size(); ++i)
        if (!Same(a.items[i], b.items[i])) return false;
    return true;
}

bool Same(const ui::FormNode& a, const ui::FormNode& b) {
    if (a.name != b.name || a.className != b.className ||
        a.properties.size() != b.properties.size() || a.children.size() != b.children.size())
        return false;
    for (size_t i = 0; i < a.properties.size(); ++i)
        if (a.properties[i].first != b.properties[i].first ||
            !Same(a.properties[i].second, b.properties[i].second))
            return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!Same(a.children[i], b.children[i])) return false;
    return true;
}

// Each conversion a property may ask for: its value, or a resource error.
template <typename Convert>
void Converts(Convert convert) {
    try {
        convert();
    } catch (const ui::EResourceError&) {
    }
}

void CheckConversions(const ui::FormNode& node) {
    for (const auto& property : node.properties) {
        const std::string& name = property.first;
        const ui::PropertyValue& value = property.second;
        Converts([&] {
            if (value.AsInt(name) != value.integer) Broken("a number changed by its conversion");
        });
        Converts([&] {
            if (value.As32Bits(name) != static_cast<std::uint32_t>(value.integer))
                Broken("32 bits that are not the number's");
        });
        Converts([&] { value.AsBool(name); });
        Converts([&] { value.AsText(name); });
        Converts([&] { value.AsIdent(name); });
        Converts([&] { value.AsTextList(name); });
        Converts([&] { value.AsIdentSet(name); });
    }
    for (const ui::FormNode& child : node.children) CheckConversions(child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ui::FormNode root;
    try {
        root = ui::ParseFormData(text);
    } catch (const ui::EResourceError& error) {
        if (error.Message().rfind("Form data, line ", 0) != 0) Broken("an error without its line");
        return 0;
    }
    if (Depth(root) > ui::kMaxFormDataDepth) Broken("a tree nested past the limit");
    CheckConversions(root);
    std::string written;
    Write(root, written);
    try {
        if (!Same(root, ui::ParseFormData(written))) Broken("written out, it reads differently");
    } catch (const ui::EResourceError& error) {
        std::fprintf(stderr, "%s\n%s\n", error.what(), written.c_str());
        Broken("written out, it no longer reads");
    }
    return 0;
}
