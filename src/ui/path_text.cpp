#include "ui/path_text.h"

namespace ui {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == ':'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Bytes a character takes at `at`: two for a lead byte with a byte after it.
// A lead byte at the very end stands alone, as the platform's walk takes it.
std::size_t CharacterLength(const std::string& text, std::size_t at, LeadByteTest isLead) {
    return isLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

}  // namespace

bool NoLeadBytes(unsigned char) { return false; }

std::string::size_type LastCharacterStart(const std::string& path, LeadByteTest isLead) {
    std::string::size_type last = std::string::npos;
    for (std::size_t at = 0; at < path.size(); at += CharacterLength(path, at, isLead)) last = at;
    return last;
}

std::string::size_type LastSeparator(const std::string& path, LeadByteTest isLead) {
    std::string::size_type last = std::string::npos;
    for (std::size_t at = 0; at < path.size(); at += CharacterLength(path, at, isLead)) {
        if (IsSeparator(path[at])) last = at;
    }
    return last;
}

std::string DirectoryPart(const std::string& path, LeadByteTest isLead) {
    const std::string::size_type at = LastSeparator(path, isLead);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNamePart(const std::string& path, LeadByteTest isLead) {
    const std::string::size_type at = LastSeparator(path, isLead);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string::size_type NextBackslash(const std::string& path, std::size_t from,
                                     LeadByteTest isLead) {
    for (std::size_t at = from; at < path.size(); at += CharacterLength(path, at, isLead)) {
        if (path[at] == '\\') return at;
    }
    return std::string::npos;
}

bool EndsWithBackslash(const std::string& path, LeadByteTest isLead) {
    const std::string::size_type last = LastCharacterStart(path, isLead);
    return last != std::string::npos && last + 1 == path.size() && path[last] == '\\';
}

std::string CanonicalPath(const std::string& path, LeadByteTest isLead) {
    std::string canonical;
    canonical.reserve(path.size());
    bool afterBackslash = false;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t length = CharacterLength(path, at, isLead);
        const bool backslash = length == 1 && path[at] == '\\';
        if (!(backslash && afterBackslash && at != 1)) canonical.append(path, at, length);
        afterBackslash = backslash;
        at += length;
    }
    return canonical;
}

std::string AppendBackslash(const std::string& path, LeadByteTest isLead) {
    if (path.empty()) return path;
    const std::string::size_type last = LastCharacterStart(path, isLead);
    if (last + 1 == path.size() && IsSeparator(path[last])) return path;
    if (path.size() == 1 && IsAsciiLetter(path[0])) return path + ":\\";
    return path + "\\";
}

std::vector<std::size_t> DirectoryChain(const std::string& path, LeadByteTest isLead,
                                        OwnParent ownParent) {
    // One pass over the text finds every character boundary and separator;
    // each directory of the chain is a prefix ending on such a boundary, so
    // the walk needs no second look at the text. A typed path may be tens of
    // thousands of characters long.
    std::vector<bool> starts(path.size(), false);
    std::vector<std::size_t> separators;
    for (std::size_t at = 0; at < path.size(); at += CharacterLength(path, at, isLead)) {
        starts[at] = true;
        if (IsSeparator(path[at])) separators.push_back(at);
    }

    std::vector<std::size_t> chain;
    std::size_t length = path.size();
    std::size_t separatorsBelow = separators.size();
    while (length > 0) {
        if (path[length - 1] == '\\' && starts[length - 1]) --length;
        if (length < 3) break;
        while (separatorsBelow > 0 && separators[separatorsBelow - 1] >= length) {
            --separatorsBelow;
        }
        const std::size_t parent = separatorsBelow == 0 ? 0 : separators[separatorsBelow - 1] + 1;
        if (parent == length) {
            if (ownParent == OwnParent::Make) chain.push_back(length);
            break;
        }
        chain.push_back(length);
        length = parent;
    }
    return chain;
}

}  // namespace ui
