#include "ui/form_data.h"

#include <windows.h>

#include <cctype>

#include "ui/exceptions.h"

namespace ui {
namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    FormNode ParseRoot() {
        FormNode root = ParseComponent();
        SkipSpace();
        if (pos_ < text_.size()) Fail("text after the end of the form");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw EResourceError(Format("Form data, line %d: %s", line_, what.c_str()));
    }

    void SkipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '#') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    bool Peek(char c) {
        SkipSpace();
        return pos_ < text_.size() && text_[pos_] == c;
    }

    void Expect(char c) {
        if (!Peek(c)) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    std::string Identifier() {
        SkipSpace();
        const size_t start = pos_;
        while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                       text_[pos_] == '_' || text_[pos_] == '.'))
            ++pos_;
        if (start == pos_) Fail("a name expected");
        return text_.substr(start, pos_ - start);
    }

    FormNode ParseComponent() {
        FormNode node;
        node.line = line_;
        node.name = Identifier();
        Expect(':');
        node.className = Identifier();
        Expect('{');
        while (!Peek('}')) {
            if (pos_ >= text_.size()) Fail("'}' expected before the end");
            const size_t save = pos_;
            const int saveLine = line_;
            const std::string name = Identifier();
            Expect(':');
            SkipSpace();
            // "Name : Class {" starts an owned component; anything else is a value.
            const size_t afterColon = pos_;
            if (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) {
                Identifier();
                if (Peek('{')) {
                    pos_ = save;
                    line_ = saveLine;
                    node.children.push_back(ParseComponent());
                    continue;
                }
                pos_ = afterColon;
            }
            if (!node.children.empty()) Fail("property " + name + " after an owned component");
            node.properties.emplace_back(name, ParseValue());
        }
        Expect('}');
        return node;
    }

    PropertyValue ParseValue() {
        SkipSpace();
        if (pos_ >= text_.size()) Fail("a value expected");
        const char c = text_[pos_];
        if (c == '"') return PropertyValue::Str(ParseText());
        if (c == '[') {
            ++pos_;
            PropertyValue list;
            list.kind = PropertyValue::Kind::List;
            while (!Peek(']')) {
                if (pos_ >= text_.size()) Fail("']' expected");
                list.items.push_back(ParseValue());
            }
            ++pos_;
            return list;
        }
        if (c == '{') {
            ++pos_;
            return ParseHexBytes();
        }
        if (c == '@') {
            ++pos_;
            PropertyValue ref;
            ref.kind = PropertyValue::Kind::Resource;
            ref.text = Identifier();
            return ref;
        }
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            const size_t start = pos_;
            ++pos_;
            while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_])))
                ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == 'x' || text_[pos_] == 'X')) {
                ++pos_;
                while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_])))
                    ++pos_;
            }
            const std::string number = text_.substr(start, pos_ - start);
            char* end = nullptr;
            const long long v = std::strtoll(number.c_str(), &end, 0);
            if (end == nullptr || *end != '\0') Fail("bad number " + number);
            return PropertyValue::Int(v);
        }
        return PropertyValue::Ident(Identifier());
    }

    // Pairs of hexadecimal digits up to the closing brace; blanks, line ends
    // and comments may stand between pairs.
    PropertyValue ParseHexBytes() {
        PropertyValue data;
        data.kind = PropertyValue::Kind::Binary;
        while (!Peek('}')) {
            if (pos_ + 1 >= text_.size()) Fail("'}' expected after binary data");
            const char high = text_[pos_], low = text_[pos_ + 1];
            if (!std::isxdigit(static_cast<unsigned char>(high)) ||
                !std::isxdigit(static_cast<unsigned char>(low)))
                Fail("binary data: pairs of hexadecimal digits expected");
            data.text += static_cast<char>(HexDigit(high) << 4 | HexDigit(low));
            pos_ += 2;
        }
        ++pos_;
        return data;
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        return (c | 0x20) - 'a' + 10;  // a to f in either case
    }

    std::string ParseText() {
        ++pos_;  // opening quote
        std::string out;
        while (true) {
            if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated text");
            const char c = text_[pos_++];
            if (c == '"') break;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) Fail("unterminated text");
            const char e = text_[pos_++];
            switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case '\\': out += '\\'; break;
                case '"': out += '"'; break;
                default: Fail(std::string("unknown escape \\") + e);
            }
        }
        return out;
    }

    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

FormNode ParseFormData(const std::string& text) { return Parser(text).ParseRoot(); }

std::string LoadResourceData(const std::string& name) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC info = ::FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (info == nullptr) throw EResourceError("Resource " + name + " not found");
    HGLOBAL data = ::LoadResource(module, info);
    const void* bytes = data != nullptr ? ::LockResource(data) : nullptr;
    if (bytes == nullptr) throw EResourceError("Resource " + name + " cannot be read");
    return std::string(static_cast<const char*>(bytes), ::SizeofResource(module, info));
}

std::string BinaryValue(const std::string& property, const PropertyValue& value) {
    if (value.kind == PropertyValue::Kind::Binary) return value.text;
    if (value.kind == PropertyValue::Kind::Resource) return LoadResourceData(value.text);
    throw EResourceError("Property " + property + ": binary data or a resource expected");
}

}  // namespace ui
