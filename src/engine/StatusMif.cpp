#include "engine/StatusMif.h"

#include <cstring>

#include "engine/AsciiText.h"

namespace engine {

namespace {

// Inside a value in double quotes: a quote would end the value early, a
// line end would break the layout.
std::string QuotedValue(const std::string& text, std::size_t longest, ui::LeadByteTest isLead) {
    std::string value;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = isLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + length > text.size() || value.size() + length > longest) break;
        if (length == 2) {
            value.append(text, i, 2);
        } else {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            value += c == '"' ? '\'' : c < 0x20 ? ' ' : text[i];
        }
        i += length;
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

std::string ReadMifName(const std::string& value, std::string& name) {
    name = value;
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
