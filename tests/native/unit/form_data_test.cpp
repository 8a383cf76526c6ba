// The form data reader's limits: numbers read as written or refused, and
// nesting refused with a clear error before it runs the stack out.
#include "ui/form_data.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "ui/exceptions.h"

namespace {

std::int64_t Number(const std::string& written) {
    const ui::FormNode root = ui::ParseFormData("F : TForm { N: " + written + " }");
    return root.properties.at(0).second.integer;
}

std::string Error(const std::string& text) {
    try {
        ui::ParseFormData(text);
    } catch (const ui::EResourceError& error) {
        return error.Message();
    }
    return "";
}

TEST(FormDataNumbers, DecimalStaysDecimalAndOnly0xMakesHexadecimal) {
    EXPECT_EQ(Number("010"), 10);
    EXPECT_EQ(Number("08"), 8);
    EXPECT_EQ(Number("-007"), -7);
    EXPECT_EQ(Number("0x1F"), 31);
    EXPECT_EQ(Number("-0x10"), -16);
    EXPECT_EQ(Number("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(Number("-9223372036854775808"), INT64_MIN);
    for (const char* bad : {"0x", "12ab", "1.5", "-", "0x1g", "-x1"})
        EXPECT_NE(Error(std::string("F : TForm { N: ") + bad + " }").find("bad number"),
                  std::string::npos)
            << bad;
}

TEST(FormDataNumbers, OutOfRangeIsAnErrorNotATruncation) {
    for (const char* big : {"9223372036854775808", "-9223372036854775809", "0x10000000000000000",
                            "99999999999999999999"})
        EXPECT_NE(Error(std::string("F : TForm { N: ") + big + " }").find("out of range"),
                  std::string::npos)
            << big;
    // A property that holds an int takes no more than an int.
    EXPECT_THROW(ui::PropertyValue::Int(4294967297).AsInt("Left"), ui::EResourceError);
    EXPECT_THROW(ui::PropertyValue::Int(-2147483649LL).AsInt("Left"), ui::EResourceError);
    EXPECT_EQ(ui::PropertyValue::Int(INT_MIN).AsInt("Left"), INT_MIN);
    // A colour's 32 bits may be written signed or unsigned, but no wider.
    EXPECT_EQ(ui::PropertyValue::Int(0x80000005).As32Bits("Color"), 0x80000005u);
    EXPECT_EQ(ui::PropertyValue::Int(-2147483643).As32Bits("Color"), 0x80000005u);
    EXPECT_THROW(ui::PropertyValue::Int(0x100000000).As32Bits("Color"), ui::EResourceError);
}

TEST(FormDataNesting, DeepNestingIsAResourceErrorNotAStackOverflow) {
    const std::string lists = "F : TForm { A: " + std::string(100000, '[');
    EXPECT_NE(Error(lists).find("line 1: nested deeper than 32 levels"), std::string::npos)
        << Error(lists);
    std::string components = "F : TForm {";
    for (int i = 0; i < 100000; ++i) components += "\n C : TPanel {";
    EXPECT_NE(Error(components).find("nested deeper"), std::string::npos) << Error(components);

    // Up to the limit, components and lists counted together, it reads.
    std::string deepest = "F : TForm {";
    for (int level = 2; level < ui::kMaxFormDataDepth; ++level) deepest += " C : TPanel {";
    deepest += " A: [1] ";
    for (int level = 1; level < ui::kMaxFormDataDepth; ++level) deepest += "}";
    EXPECT_EQ(Error(deepest), "");
    deepest.replace(deepest.find("[1]"), 3, "[[1]]");
    EXPECT_NE(Error(deepest).find("nested deeper"), std::string::npos);
}

}  // namespace
