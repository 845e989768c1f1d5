// Each link picture hands its own web address or mail link to the shell, shown normally,
// once per click. scripts/test registers the recorder as the "open" command of web and
// mail links in the test's Wine prefix, so the test sees what reached the command.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace e2e;

TEST(Links, EachPictureOpensItsOwnTargetShownNormally) {
    if (!test_support::under_wine()) {
        GTEST_SKIP() << "needs the recorder as the browser and the mail program";
    }
    const TempFolder folder;
    // The shell would open a folder named like the web site's host instead of the site.
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\www.example.org").c_str(), nullptr));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\links.log").c_str());
    const Brelix brelix(folder.path());

    std::vector<std::string> lines;
    for (const auto& [picture, target] : {
             std::pair{Control::Picture1,
                       "https://pay.example.org/donate?cmd=_donations"
                       "&business=ilse%2Emarnow%40example%2Ecom&lc=DE&item_name=Ilse%20Marnow"
                       "&item_number=brelix&currency_code=EUR&bn=TV%2DDonate_Button%3ANonHosted"},
             {Control::Picture2, "http://www.example.org"},
             {Control::Picture3, "mailto:ilse.marnow@example.com"},
             {Control::Picture3, "mailto:ilse.marnow@example.com"},
         }) {
        const std::size_t before = lines.size();
        click(brelix.point_in(picture));
        ASSERT_TRUE(wait_until([&] {
            std::istringstream log(folder.read(L"links.log").value_or(""));
            lines.clear();
            for (std::string line; std::getline(log, line);) {
                lines.push_back(line);
            }
            return lines.size() > before;
        })) << "nothing opened "
            << target;
        EXPECT_EQ(lines.size(), before + 1) << "opened more than once";
        EXPECT_NE(lines.back().find("|1|\""), std::string::npos) << "not shown normally";
        EXPECT_TRUE(lines.back().ends_with(std::string(" \"") + target + "\"")) << lines.back();
    }
    EXPECT_FALSE(brelix.exit_code(0ms));
}

}  // namespace
