#include "engine/StatusMif.h"

#include <cstring>

#include "engine/AsciiText.h"
#include "engine/CommandLine.h"

namespace engine {

namespace {

// One character of a string value as the MIF grammar reads it: the
// backslash escapes, so a backslash or a double quote taken as it is would
// end the value early or swallow what follows ("c:\new" reads a line end),
// and a control character becomes its escape, never a line end of the
// file's own.
std::string EscapedCharacter(unsigned char c) {
    static const char kNamed[] = "abtnvfr";  // the escapes of 7 to 13
    if (c == '\\' || c == '"') return std::string("\\") + static_cast<char>(c);
    if (c >= 7 && c <= 13) return std::string("\\") + kNamed[c - 7];
    if (c < 0x20 || c == 0x7F) {
        // Always three digits, so that a digit after it is not taken in.
        const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                              static_cast<char>('0' + ((c >> 3) & 7)),
                              static_cast<char>('0' + (c & 7)), '\0'};
        return octal;
    }
    return std::string(1, static_cast<char>(c));
}

// The value in double quotes, at most `longest` characters as written: an
// escape counts with all its characters, and the value is cut only before
// a whole escape or a whole character.
std::string QuotedValue(const std::string& text, std::size_t longest, ui::LeadByteTest isLead) {
    std::string value;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::string written;
        std::size_t read = 1;
        if (isLead(c)) {
            if (i + 2 > text.size()) break;
            read = 2;
            // A second byte that is a backslash would escape what follows
            // for a reader that goes byte by byte, and doubled it would
            // read as a stray backslash for one that knows the code page:
            // such a character is written as a question mark for both.
            written = text[i + 1] == '\\' ? std::string("?") : text.substr(i, 2);
        } else {
            written = EscapedCharacter(c);
        }
        if (value.size() + written.size() > longest) break;
        value += written;
        i += read;
    }
    return '"' + value + '"';
}

struct Attribute {
    const char* name;
    int id;
    int size;
    std::string value;
};

void AddGroup(std::string& text, const char* name, int id, const char* className,
              const std::initializer_list<Attribute>& attributes, ui::LeadByteTest isLead) {
    text += "  START GROUP\r\n";
    text += std::string("    NAME = \"") + name + "\"\r\n";
    text += "    ID = " + std::to_string(id) + "\r\n";
    text += std::string("    CLASS = \"") + className + "\"\r\n";
    for (const Attribute& attribute : attributes) {
        text += "    START ATTRIBUTE\r\n";
        text += std::string("      NAME = \"") + attribute.name + "\"\r\n";
        text += "      ID = " + std::to_string(attribute.id) + "\r\n";
        text += "      ACCESS = READ-ONLY\r\n";
        text += "      STORAGE = SPECIFIC\r\n";
        text += "      TYPE = STRING(" + std::to_string(attribute.size) + ")\r\n";
        text += "      VALUE = " +
                QuotedValue(attribute.value, static_cast<std::size_t>(attribute.size), isLead) +
                "\r\n";
        text += "    END ATTRIBUTE\r\n";
    }
    text += "  END GROUP\r\n";
}

}  // namespace

std::string ReadMifName(const std::string& value, std::string& taken) {
    std::string name = value;
    const std::size_t extension = std::strlen(mif::kExtension);
    if (name.size() >= extension &&
        SameName(name.substr(name.size() - extension), mif::kExtension)) {
        name.erase(name.size() - extension);
    }
    if (Trimmed(name).empty()) return "/MIF= needs a file name";
    if (name.size() > mif::kLongestName)
        return "/MIF= takes a name of at most 50 characters: " + value;
    // Only a name: the file always goes to the Windows directory, where the
    // tool looks for it.
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return "/MIF= takes a file name without a path: " + value;
    }
    if (Trimmed(name) != name || name.back() == '.')
        return "/MIF= takes a file name without blanks or a dot at its ends: " + value;
    // "CON.MIF" is the console and "PRN.MIF" the printer.
    if (NamesDevice(name)) return "/MIF= names a device, not a file: " + value;
    taken = name;
    return "";
}

std::string StatusMifText(const mif::Status& status, ui::LeadByteTest isLead) {
    std::string text = "START COMPONENT\r\n  NAME = \"WORKSTATION\"\r\n";
    AddGroup(text, "ComponentID", 1, "DMTF|ComponentID|1.0",
             {{"Manufacturer", 1, 64, mif::kManufacturer},
              {"Product", 2, 64, mif::kProduct},
              {"Version", 3, 64, mif::kVersion},
              {"Locale", 4, 16, mif::kLocale},
              {"Serial Number", 5, 64, ""},
              {"Installation", 6, 64, "DateTime"}},
             isLead);
    AddGroup(text, "InstallStatus", 2, "MICROSOFT|JOBSTATUS|1.0",
             {{"Status", 1, 32, status.success ? "Success" : "Failed"},
              {"Description", 2, static_cast<int>(mif::kLongestDescription), status.description}},
             isLead);
    text += "END COMPONENT\r\n";
    return text;
}

}  // namespace engine
