#include "commands/command.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace korvel {
namespace {

TEST(CommandTable, IdsAndCliNamesAreUniqueAndWellFormed) {
    const std::regex pattern("^[a-z0-9]+(-[a-z0-9]+)*$");
    std::set<int32_t> ids;
    std::set<std::string> names;
    for (const Command& c : CommandTable()) {
        EXPECT_TRUE(ids.insert(c.Id).second) << "duplicate id " << c.Id;
        EXPECT_TRUE(names.insert(c.CliName).second) << "duplicate name " << c.CliName;
        EXPECT_TRUE(std::regex_match(c.CliName, pattern)) << c.CliName;
        EXPECT_FALSE(c.MenuText.empty()) << c.Id;
        EXPECT_EQ(FindCommandById(c.Id), &c);
        EXPECT_EQ(FindCommandByName(c.CliName), &c);
    }
}

TEST(CommandTable, RowsMatchTheMenuResource) {
    // Id, CLI name, menu text, snapshot name
    const std::tuple<int32_t, std::string, std::string, std::string> rows[] = {
        {57600, "new", "&New...\tCtrl+N", "New Surface"},
        {33058, "gtopo30-section", "&GTOPO30 Section...", "GTOPO30 Import"},
        {57644, "redo", "&Redo\tCtrl+Z", ""},
        {32862, "offset", "&Offset...", "Offset"},
        {33019, "toroidal-offset", "&Offset...", "Rotate"},
        {32955, "draw-flood-fill", "Fl&ood Fill...", ""},
        {33135, "tool-size-50", "50x50 tool", ""},
    };
    for (const auto& [id, cli, menu, snapshot] : rows) {
        const Command* c = FindCommandById(id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_EQ(std::tuple(c->CliName, c->MenuText, c->SnapshotName),
                  std::tuple(cli, menu, snapshot));
    }
    EXPECT_EQ(FindCommandById(33079)->StatusText, "Check Heights and Recalc Texture Map");
    EXPECT_EQ(FindCommandById(33036)->StatusText, "\"Animate\" a set of surface calculations");
    EXPECT_EQ(FindCommandById(12345), nullptr);
}

TEST(CommandTable, EverySurfaceChangingCommandHasItsUndoStep) {
    // Every snapshot name, sorted.
    const std::string expected =
        "Add Noise,Backfill,Blur Lots,Blur More,Blur Some,Calculate,Clip,Convolution,"
        "Cosine Distortion,Exponent,Fit Geoid,Flip Diagonal,Flip Horizontal,"
        "Flip Vertical,Floodfill,Fluvial Erosion,GTOPO30 Import,Image Subsection,"
        "Inverse Cosine,New Surface,Offset,Quad Resample,Replace,Resample,Resize,"
        "Rotate,Rotate 90,Scale,Sharpen Lots,Sharpen More,Sharpen Some,Threshold,XXX,";
    std::multiset<std::string> found;
    for (const Command& c : CommandTable())
        if (!c.SnapshotName.empty())
            found.insert(c.SnapshotName);
    std::string joined;
    for (const std::string& name : found)
        joined += name + ",";
    EXPECT_EQ(joined, expected);
}

TEST(CommandTable, NamesAreFoundWithoutRegardToCase) {
    const std::pair<const char*, int32_t> cases[] = {
        {"Blur-More", 32882}, {"UNDO", 57643}, {"Toroidal-Offset", 33019}, {"xXx", 33056}};
    for (const auto& [name, id] : cases) {
        const Command* found = FindCommandByName(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->Id, id) << name;
    }
    EXPECT_EQ(FindCommandByName("blur"), nullptr);
    EXPECT_EQ(FindCommandByName("undo "), nullptr);
    EXPECT_EQ(FindCommandByName(""), nullptr);
}

TEST(CommandTable, MenuItemsWithoutHandlerStayDisabled) {
    test::RecordingHost host;
    Workspace ws(host);
    for (int32_t id : {32955, 33023, 33024, 33025}) {
        const Command* c = FindCommandById(id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_FALSE(c->Available()) << id;
        ASSERT_NE(c->Enabled, nullptr) << id;
        EXPECT_FALSE(c->Enabled(ws)) << id;
    }
}

} // namespace
} // namespace korvel
