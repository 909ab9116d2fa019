#include "editor/RecentFiles.h"
#include "editor/WindowPlacement.h"
#include "support/MemorySettings.h"

#include <gtest/gtest.h>

namespace kym {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFiles, NewestFirstWithoutRepeatsUpToEightAndStoredAtOnce) {
    test::MemorySettings settings;
    settings.values["recentFiles"] = {"b.vlt", "", "a.vlt", "b.vlt"};
    RecentFiles recent(settings);
    EXPECT_EQ(recent.paths(), (Paths{"b.vlt", "a.vlt"}));

    recent.add("a.vlt");
    EXPECT_EQ(recent.paths(), (Paths{"a.vlt", "b.vlt"}));
    for (const char* name : {"1", "2", "3", "4", "5", "6", "7"})
        recent.add(name);
    EXPECT_EQ(recent.paths(), (Paths{"7", "6", "5", "4", "3", "2", "1", "a.vlt"}));
    recent.remove("3");
    EXPECT_EQ(RecentFiles(settings).paths(), (Paths{"7", "6", "5", "4", "2", "1", "a.vlt"}));
    recent.clear();
    EXPECT_TRUE(RecentFiles(settings).paths().empty());
}

// A 1000x700 available area at (0, 30), in device pixels.
TEST(WindowPlacement, CentredAndShrunkIntoTheAvailableArea) {
    const WindowRect area{0, 30, 1000, 700};
    const struct {
        const char* name;
        int width, height;
        double scale;
        WindowRect placed;
    } rows[] = {
        {"fits", 800, 500, 1, {100, 130, 800, 500}},
        {"wider", 1200, 500, 1, {0, 130, 1000, 500}},
        {"taller", 800, 900, 1, {100, 30, 800, 700}},
        {"both", 1200, 900, 1, {0, 30, 1000, 700}},
        {"scaled to 200 %", 833, 660, 2, {0, 15, 500, 350}},
        {"scaled, fits", 400, 300, 2, {50, 40, 400, 300}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const WindowRect placed = placeWindow(area, row.width, row.height, row.scale);
        EXPECT_EQ(placed, row.placed)
            << placed.left << "," << placed.top << " " << placed.width << "x" << placed.height;
    }
}

} // namespace
} // namespace kym
