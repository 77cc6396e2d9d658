#include "commands/external_list.h"

#include "core/settings_store.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;

TEST(ExternalList, TwelveEntriesAreStoredUnderTwoDigitSections) {
    ExternalList list;
    for (int i = 0; i < 12; ++i)
        list.Append({"d" + std::to_string(i), "c" + std::to_string(i)});
    MemorySettingsStore store;
    list.Save(store, "ExtList");
    EXPECT_EQ(store.Values.size(), 1u + 2u * 12u);
    const std::pair<Values::key_type, std::string> stored[] = {{{"ExtList", "Count"}, "12"},
                                                               {{"ExtList\\S00", "D"}, "d0"},
                                                               {{"ExtList\\S02", "C"}, "c2"},
                                                               {{"ExtList\\S11", "D"}, "d11"}};
    for (const auto& [key, value] : stored)
        EXPECT_EQ(store.Values[key], value) << key.first << " " << key.second;
    ExternalList read;
    read.Load(store, "ExtList");
    EXPECT_EQ(read, list);
    EXPECT_EQ(ExternalEntrySection("ExtList", 100), "ExtList\\S100");
}

TEST(ExternalList, LoadingDamagedStoresReadsOnlyRealEntries) {
    const struct {
        const char* Name;
        Values Stored;
        std::vector<std::string> Descriptions;
    } cases[] = {
        {"nothing stored", {}, {}},
        {"count not a number", {{{"L", "Count"}, "many"}, {{"L\\S00", "D"}, "a"}}, {}},
        {"negative count", {{{"L", "Count"}, "-3"}, {{"L\\S00", "D"}, "a"}}, {}},
        {"count beyond the entries",
         {{{"L", "Count"}, "2000000000"}, {{"L\\S00", "D"}, "a"}, {{"L\\S01", "C"}, "b"}},
         {"a", ""}},
        {"entries beyond the count are not read",
         {{{"L", "Count"}, "1"}, {{"L\\S00", "D"}, "a"}, {{"L\\S01", "D"}, "b"}},
         {"a"}},
    };
    for (const auto& c : cases) {
        MemorySettingsStore store;
        store.Values = c.Stored;
        ExternalList list;
        list.Append({"old", "old"});
        list.Load(store, "L");
        std::vector<std::string> descriptions;
        for (size_t i = 0; i < list.Size(); ++i)
            descriptions.push_back(list.At(i)->Description);
        EXPECT_EQ(descriptions, c.Descriptions) << c.Name;
    }
}

TEST(ExternalList, InsertAndRemoveKeepTheOrder) {
    const struct {
        const char* Name;
        void (*Edit)(ExternalList&);
        std::string Order;
    } cases[] = {
        {"insert before the first",
         [](ExternalList& l) {
             l.Insert(0, {"x", ""});
         },
         "xabc"},
        {"insert before the last",
         [](ExternalList& l) {
             l.Insert(2, {"x", ""});
         },
         "abxc"},
        {"insert out of range appends",
         [](ExternalList& l) {
             l.Insert(9, {"x", ""});
         },
         "abcx"},
        {"remove the middle", [](ExternalList& l) { EXPECT_TRUE(l.Remove(1)); }, "ac"},
        {"remove out of range", [](ExternalList& l) { EXPECT_FALSE(l.Remove(3)); }, "abc"},
    };
    for (const auto& c : cases) {
        ExternalList list;
        for (const char* d : {"a", "b", "c"})
            list.Append({d, ""});
        c.Edit(list);
        std::string order;
        for (size_t i = 0; i < list.Size(); ++i)
            order += list.At(i)->Description;
        EXPECT_EQ(order, c.Order) << c.Name;
        EXPECT_EQ(list.At(list.Size()), nullptr) << c.Name;
    }
}

} // namespace
} // namespace korvel
