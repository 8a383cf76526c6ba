#include "ui/form_data.h"

#include <cstdint>

#include "ui/exceptions.h"

namespace ui {
namespace {

// Character classes by ASCII alone: the reader must not depend on the code
// page or locale it runs under.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsAlpha(c) || IsDigit(c) || c == '_' || c == '.'; }
bool IsHexDigit(char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    return (c | 0x20) - 'a' + 10;  // a to f in either case
}

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
    // One level of components or lists for as long as it is being read.
    class Nesting {
    public:
        explicit Nesting(Parser& parser) : parser_(parser) {
            if (parser_.depth_ == kMaxFormDataDepth)
                parser_.Fail(Format("nested deeper than %d levels", kMaxFormDataDepth));
            ++parser_.depth_;
        }
        ~Nesting() { --parser_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& parser_;
    };

    [[noreturn]] void Fail(const std::string& what) const {
        throw EResourceError(Format("Form data, line %d: %s", line_, what.c_str()));
    }

    void SkipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (IsSpace(c)) {
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
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
        if (start == pos_) Fail("a name expected");
        return text_.substr(start, pos_ - start);
    }

    FormNode ParseComponent() {
        const Nesting level(*this);
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
            if (pos_ < text_.size() && IsAlpha(text_[pos_])) {
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
            const Nesting level(*this);
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
        if (c == '-' || IsDigit(c)) return ParseNumber();
        return PropertyValue::Ident(Identifier());
    }

    // Decimal, or hexadecimal after 0x; the sign may stand before either.
    // The whole word is the number, so "12ab" or "1.5" is refused, not split.
    PropertyValue ParseNumber() {
        const size_t start = pos_;
        const bool negative = text_[pos_] == '-';
        if (negative) ++pos_;
        const size_t digitsStart = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
        const std::string number = text_.substr(start, pos_ - start);
        size_t at = digitsStart;
        unsigned base = 10;
        if (pos_ - at > 2 && text_[at] == '0' && (text_[at + 1] | 0x20) == 'x') {
            base = 16;
            at += 2;
        }
        if (at == pos_) Fail("bad number " + number);
        const std::uint64_t limit =
            negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
        std::uint64_t magnitude = 0;
        for (; at < pos_; ++at) {
            const char d = text_[at];
            if (base == 16 ? !IsHexDigit(d) : !IsDigit(d)) Fail("bad number " + number);
            const unsigned digit = static_cast<unsigned>(HexDigit(d));
            if (magnitude > (limit - digit) / base) Fail("number out of range " + number);
            magnitude = magnitude * base + digit;
        }
        if (!negative) return PropertyValue::Int(static_cast<std::int64_t>(magnitude));
        // The most negative value has no positive counterpart to negate.
        if (magnitude == limit) return PropertyValue::Int(INT64_MIN);
        return PropertyValue::Int(-static_cast<std::int64_t>(magnitude));
    }

    // Pairs of hexadecimal digits up to the closing brace; blanks, line ends
    // and comments may stand between pairs.
    PropertyValue ParseHexBytes() {
        PropertyValue data;
        data.kind = PropertyValue::Kind::Binary;
        while (!Peek('}')) {
            if (pos_ + 1 >= text_.size()) Fail("'}' expected after binary data");
            const char high = text_[pos_], low = text_[pos_ + 1];
            if (!IsHexDigit(high) || !IsHexDigit(low))
                Fail("binary data: pairs of hexadecimal digits expected");
            data.text += static_cast<char>(HexDigit(high) << 4 | HexDigit(low));
            pos_ += 2;
        }
        ++pos_;
        return data;
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
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '"':
                    out += '"';
                    break;
                default:
                    Fail(std::string("unknown escape \\") + e);
            }
        }
        return out;
    }

    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
    int depth_ = 0;
};

}  // namespace

FormNode ParseFormData(const std::string& text) { return Parser(text).ParseRoot(); }

}  // namespace ui
