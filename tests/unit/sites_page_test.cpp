// docs/sites.md and the program's table of built-in sites say the same.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "search/catalogue.h"
#include "search/former_sites.h"

namespace tellurix {
namespace {

// The cells of each table row under the heading `section`, up to the next heading.
std::vector<std::vector<std::string>> tableRows(const std::string& page, const std::string& section) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(page);
    bool inSection = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("## ")) inSection = line == "## " + section;
        if (!inSection || !line.starts_with("| ") || line.starts_with("|---")) continue;
        std::vector<std::string> cells;
        for (std::size_t at = 2, bar; (bar = line.find(" |", at)) != std::string::npos; at = bar + 3)
            cells.push_back(line.substr(at, bar - at));
        rows.push_back(std::move(cells));
    }
    if (!rows.empty()) rows.erase(rows.begin());  // the header
    return rows;
}

TEST(SitesPageTest, ListsEveryBuiltInSiteAsTheCatalogueHasItAndEveryOneGivenUp) {
    std::ifstream in(TELLURIX_SOURCE_DIR "/docs/sites.md", std::ios::binary);
    ASSERT_TRUE(in) << "docs/sites.md not found";
    const std::string page((std::istreambuf_iterator<char>(in)), {});
    Catalogue catalogue;

    int position = 0;
    std::vector<std::string> givenUp;
    for (const auto& row : tableRows(page, "Built-in sites")) {
        ASSERT_EQ(row.size(), 4u) << row.front();
        const std::string& status = row[2];
        if (status == "gone" || status == "removed") {
            givenUp.push_back(row[0]);
            continue;
        }
        ASSERT_TRUE(status == "answers" || status == "moved" || status == "unverified") << row[0] << ": " << status;
        const SearchSite& site = catalogue.site(position++);
        EXPECT_EQ(row[0], site.label);
        EXPECT_EQ(row[1], "`" + site.urlPrefix + "%s" + site.urlSuffix + "`") << row[0];
    }
    EXPECT_EQ(position, kFilledSites);
    EXPECT_EQ(givenUp, std::vector<std::string>(removedSiteLabels().begin(), removedSiteLabels().end()));

    const auto renamed = tableRows(page, "Renamed labels");
    ASSERT_EQ(renamed.size(), renamedSites().size());
    for (std::size_t i = 0; i < renamed.size(); ++i) {
        EXPECT_EQ(renamed[i], (std::vector<std::string>{std::string(renamedSites()[i].formerLabel),
                                                        std::string(renamedSites()[i].label)}));
    }
}

}  // namespace
}  // namespace tellurix
