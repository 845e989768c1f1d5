// Each link picture hands its own web address or mail link to the shell, shown normally,
// once per click. The recorder is registered as the "open" command of web and mail links,
// so the test sees what reached the command, not what a browser made of it.
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace e2e;

const std::wstring kSchemes[] = {L"http", L"https", L"mailto"};

// Wine's shell reads the classes of the machine, not the user's own.
std::wstring command_key(const std::wstring& scheme) {
    return L"Software\\Classes\\" + scheme + L"\\shell\\open\\command";
}

// Sets the "open" command of the schemes, and puts the old ones back at the end.
class OpenCommands {
  public:
    explicit OpenCommands(const std::wstring& command) {
        for (const std::wstring& scheme : kSchemes) {
            wchar_t old[1024]{};
            DWORD bytes = sizeof(old);
            RegGetValueW(HKEY_LOCAL_MACHINE, command_key(scheme).c_str(), nullptr, RRF_RT_REG_SZ,
                         nullptr, old, &bytes);
            saved_.emplace_back(old);
            set(scheme, command);
        }
    }
    OpenCommands(const OpenCommands&) = delete;
    OpenCommands& operator=(const OpenCommands&) = delete;
    ~OpenCommands() {
        for (std::size_t index = 0; index < saved_.size(); ++index) {
            set(kSchemes[index], saved_[index]);
        }
    }

  private:
    static void set(const std::wstring& scheme, const std::wstring& command) {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, command_key(scheme).c_str(), nullptr, REG_SZ,
                        command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    std::vector<std::wstring> saved_;
};

TEST(Links, EachPictureOpensItsOwnTargetShownNormally) {
    if (!test_support::under_wine()) {
        GTEST_SKIP() << "registers the browser and the mail program, which only a test prefix of "
                        "Wine may";
    }
    const TempFolder folder;
    // The shell would open a folder named like the web site's host instead of the site.
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\www.example.org").c_str(), nullptr));
    SetEnvironmentVariableW(L"TORVANE_RECORD", (folder.path() + L"\\links.log").c_str());
    const OpenCommands recorder(L"\"" + test_support::beside_this_program(L"recorder.exe") +
                                L"\" \"%1\"");
    const Brelix brelix(folder.path());
    ASSERT_TRUE(brelix.window());

    const struct {
        Control picture;
        const char* target;
    } clicks[] = {
        {Control::Picture1,
         "https://pay.example.org/donate?cmd=_donations&business=ilse%2Emarnow%40example%2Ecom"
         "&lc=DE&item_name=Ilse%20Marnow&item_number=brelix&currency_code=EUR"
         "&bn=TV%2DDonate_Button%3ANonHosted"},
        {Control::Picture2, "http://www.example.org"},
        {Control::Picture3, "mailto:ilse.marnow@example.com"},
        {Control::Picture3, "mailto:ilse.marnow@example.com"},
    };
    std::size_t expected = 0;
    for (const auto& [picture, target] : clicks) {
        click(brelix.point_in(picture));
        std::vector<std::string> lines;
        ASSERT_TRUE(wait_until([&] {
            std::istringstream log(folder.read(L"links.log").value_or(""));
            lines.clear();
            for (std::string line; std::getline(log, line);) {
                lines.push_back(line);
            }
            return lines.size() > expected;
        })) << "nothing opened "
            << target;
        EXPECT_EQ(lines.size(), ++expected) << "opened more than once";
        EXPECT_NE(lines.back().find("|1|"), std::string::npos) << "not shown normally";
        EXPECT_TRUE(lines.back().ends_with(std::string("\"") + target + "\"")) << lines.back();
    }
    EXPECT_FALSE(brelix.ended(0ms));
    EXPECT_EQ(brelix.field(), std::wstring(shell::kDefaultSourcePath));
}

}  // namespace
