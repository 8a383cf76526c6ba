#include <gtest/gtest.h>

#include "controls/StringHolder.h"
#include "ui/exceptions.h"
#include "ui/form.h"

using controls::TStringHolder;

TEST(StringHolder, ScrambleRepeatsTheKeyAndIsItsOwnInverse) {
    EXPECT_EQ(TStringHolder::Scramble("plain", ""), "plain");
    const std::string key = "k2";
    const std::string line = "A line longer than the key";
    const std::string scrambled = TStringHolder::Scramble(line, key);
    ASSERT_EQ(scrambled.size(), line.size());
    for (size_t i = 0; i < line.size(); ++i)
        EXPECT_EQ(scrambled[i], static_cast<char>(line[i] ^ key[i % 2])) << i;
    EXPECT_EQ(TStringHolder::Scramble(scrambled, key), line);
}

TEST(StringHolder, PersistedFormRoundTrip) {
    TStringHolder holder(nullptr);
    holder.SetKeyString("secret");
    holder.SetStrings({" -Rights-", "", "terms"});
    const std::vector<std::string> data = holder.StrData();
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(data[0], "secret");
    EXPECT_NE(data[1], " -Rights-");

    int changes = 0;
    TStringHolder reader(nullptr);
    reader.OnChange = [&](ui::TComponent*) { ++changes; };
    reader.SetStrData(data);
    EXPECT_EQ(reader.KeyString(), "secret");
    EXPECT_EQ(reader.Strings(), (std::vector<std::string>{" -Rights-", "", "terms"}));
    EXPECT_EQ(changes, 0);  // reading the persisted form is not a change
    reader.Add("more");
    EXPECT_EQ(changes, 1);
}

TEST(StringHolder, SortedListFollowsTheDuplicatesRule) {
    TStringHolder holder(nullptr);
    holder.SetSorted(true);
    holder.SetStrings({"b", "a", "b"});
    EXPECT_EQ(holder.Strings(), (std::vector<std::string>{"a", "b"}));
    holder.SetDuplicates(controls::TDuplicates::dupError);
    EXPECT_THROW(holder.Add("a"), ui::EListError);
    holder.SetDuplicates(controls::TDuplicates::dupAccept);
    holder.Add("a");
    EXPECT_EQ(holder.Strings(), (std::vector<std::string>{"a", "a", "b"}));
}

TEST(StringHolder, ACapacityNoListCouldHoldIsAResourceError) {
    TStringHolder holder(nullptr);
    EXPECT_THROW(holder.SetProperty("Capacity", ui::PropertyValue::Int(2000000000)),
                 ui::EResourceError);
    EXPECT_THROW(holder.SetProperty("Capacity", ui::PropertyValue::Int(-1)), ui::EResourceError);
    EXPECT_THROW(holder.SetCapacity(2000000000), ui::EListError);
    // Beyond an int the number is refused as written, not cut to 1.
    try {
        holder.SetProperty("Capacity", ui::PropertyValue::Int(4294967297));
        ADD_FAILURE() << "no error";
    } catch (const ui::EResourceError& error) {
        EXPECT_NE(error.Message().find("4294967297 is out of range"), std::string::npos)
            << error.Message();
    }
    EXPECT_TRUE(holder.SetProperty("Capacity", ui::PropertyValue::Int(28)));
    EXPECT_GE(holder.Capacity(), 28);
}

TEST(StringHolder, FormDataWiresTheEventsAndASortedHolderReadsInOrder) {
    std::vector<std::string> events;
    ui::TForm form;
    form.RegisterHandler("Changing", [&](ui::TComponent*) { events.push_back("changing"); });
    form.RegisterHandler("Changed", [&](ui::TComponent*) { events.push_back("changed"); });
    form.CreateFromText(
        "F : TForm { H : TStringHolder { OnChanging: Changing OnChange: Changed Sorted: true "
        "StrData: [\"\" \"pear\" \"apple\" \"pear\"] } }");
    auto* holder = form.Find<TStringHolder>("H");
    EXPECT_EQ(holder->Strings(), (std::vector<std::string>{"apple", "pear"}));
    EXPECT_TRUE(events.empty());
    holder->Add("fig");
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "changed"}));
    EXPECT_EQ(holder->Strings(), (std::vector<std::string>{"apple", "fig", "pear"}));
}
