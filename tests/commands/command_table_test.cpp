#include "commands/command.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
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
    struct Row {
        int32_t id;
        const char* cli;
        const char* menu;
        const char* snapshot;
    };
    const Row rows[] = {
        {57600, "new", "&New...\tCtrl+N", "New Surface"},
        {33010, "image-subsection", "&Image Subsection...", "Image Subsection"},
        {33058, "gtopo30-section", "&GTOPO30 Section...", "GTOPO30 Import"},
        {57644, "redo", "&Redo\tCtrl+Z", ""},
        {32779, "size", "&Size...", "Resize"},
        {32801, "clip", "Height &Clip...", "Clip"},
        {32862, "offset", "&Offset...", "Offset"},
        {33019, "toroidal-offset", "&Offset...", "Rotate"},
        {32890, "convolve", "&General...", "Convolution"},
        {33060, "rotate-90", "Rotate &90 degrees", "Rotate 90"},
        {33032, "flood-fill", "&Flood Fill...", "Floodfill"},
        {32955, "draw-flood-fill", "Fl&ood Fill...", ""},
        {33135, "tool-size-50", "50x50 tool", ""},
    };
    for (const Row& r : rows) {
        const Command* c = FindCommandById(r.id);
        ASSERT_NE(c, nullptr) << r.id;
        EXPECT_EQ(c->CliName, r.cli) << r.id;
        EXPECT_EQ(c->MenuText, r.menu) << r.id;
        EXPECT_EQ(c->SnapshotName, r.snapshot) << r.id;
    }
    EXPECT_EQ(FindCommandById(33079)->StatusText, "Check Heights and Recalc Texture Map");
    EXPECT_EQ(FindCommandById(33036)->StatusText, "\"Animate\" a set of surface calculations");
    EXPECT_EQ(FindCommandById(12345), nullptr);
}

TEST(CommandTable, EverySurfaceChangingCommandHasItsUndoStep) {
    const std::multiset<std::string> expected = {"New Surface",
                                                 "Image Subsection",
                                                 "GTOPO30 Import",
                                                 "Calculate",
                                                 "Resize",
                                                 "Add Noise",
                                                 "Exponent",
                                                 "Fit Geoid",
                                                 "Clip",
                                                 "Offset",
                                                 "Replace",
                                                 "Scale",
                                                 "Threshold",
                                                 "Blur Some",
                                                 "Blur More",
                                                 "Blur Lots",
                                                 "Convolution",
                                                 "Sharpen Some",
                                                 "Sharpen More",
                                                 "Sharpen Lots",
                                                 "Cosine Distortion",
                                                 "Inverse Cosine",
                                                 "Fluvial Erosion",
                                                 "Flip Vertical",
                                                 "Flip Horizontal",
                                                 "Flip Diagonal",
                                                 "Quad Resample",
                                                 "Resample",
                                                 "Rotate 90",
                                                 "Rotate",
                                                 "Backfill",
                                                 "XXX",
                                                 "Floodfill"};
    std::multiset<std::string> found;
    for (const Command& c : CommandTable())
        if (!c.SnapshotName.empty())
            found.insert(c.SnapshotName);
    EXPECT_EQ(found, expected);
}

TEST(CommandTable, NamesAreFoundWithoutRegardToCase) {
    const struct {
        const char* name;
        int32_t id;
    } cases[] = {{"Blur-More", 32882}, {"UNDO", 57643}, {"Toroidal-Offset", 33019}, {"xXx", 33056}};
    for (const auto& c : cases) {
        const Command* found = FindCommandByName(c.name);
        ASSERT_NE(found, nullptr) << c.name;
        EXPECT_EQ(found->Id, c.id) << c.name;
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
