// Each link picture hands its own target to the shell once per click. A logging program
// of the test's is registered as the "open" command of web and mail links, so the test
// sees what reached the shell's command, not what a browser made of it.
#include "links/link_targets.hpp"
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace e2e;
using shell::Control;

const std::wstring kSchemes[] = {L"http", L"https", L"mailto"};

// Wine's shell reads the classes of the machine, not the user's own.
std::wstring command_key(const std::wstring& scheme) {
    return L"Software\\Classes\\" + scheme + L"\\shell\\open\\command";
}

std::wstring open_command(const std::wstring& scheme) {
    wchar_t command[1024]{};
    DWORD bytes = sizeof(command);
    RegGetValueW(HKEY_LOCAL_MACHINE, command_key(scheme).c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                 command, &bytes);
    return command;
}

void set_open_command(const std::wstring& scheme, const std::wstring& command) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, command_key(scheme).c_str(), nullptr, REG_SZ,
                    command.c_str(), static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

void register_open_command(const std::wstring& command) {
    for (const std::wstring& scheme : kSchemes) {
        set_open_command(scheme, command);
    }
}

class Links : public testing::Test {
  protected:
    void SetUp() override {
        log_ = folder_.path() + L"\\links.log";
        SetEnvironmentVariableW(L"TORVANE_LINK_LOG", log_.c_str());
        for (const std::wstring& scheme : kSchemes) {
            saved_commands_.push_back(open_command(scheme));
        }
        register_open_command(L"\"" + test_support::beside_this_program(L"link_logger.exe") +
                              L"\" \"%1\"");
        brelix_ = std::make_unique<Brelix>(folder_);
        ASSERT_TRUE(brelix_->window());
    }

    void TearDown() override {
        brelix_.reset();
        for (std::size_t index = 0; index < saved_commands_.size(); ++index) {
            set_open_command(kSchemes[index], saved_commands_[index]);
        }
    }

    void click_picture(Control picture, POINT offset = {10, 10}) const {
        RECT place{};
        GetWindowRect(brelix_->control(picture), &place);
        click({place.left + offset.x, place.top + offset.y});
    }

    std::vector<std::string> logged() const {
        std::vector<std::string> lines;
        std::istringstream text(folder_.read(L"links.log").value_or(""));
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    // Waits for the log to hold the lines, then a moment more for any that should not come.
    std::vector<std::string> logged_after(std::size_t expected) const {
        wait_until([&] { return logged().size() >= expected; });
        Sleep(500);
        return logged();
    }

    TempFolder folder_;
    std::wstring log_;
    std::vector<std::wstring> saved_commands_;
    std::unique_ptr<Brelix> brelix_;
};

const std::string kDonation = narrow(std::wstring(links::kDonationPage));
const std::string kMail = narrow(std::wstring(links::kMailMessage));

TEST_F(Links, EachPictureHandsItsOwnTargetOnce) {
    click_picture(Control::Picture1);
    EXPECT_EQ(logged_after(1), std::vector<std::string>{kDonation});
    click_picture(Control::Picture3);
    EXPECT_EQ(logged_after(2), (std::vector<std::string>{kDonation, kMail}));
}

TEST_F(Links, RepeatedClicksHandTheTargetOverAgain) {
    click_picture(Control::Picture3);
    ASSERT_EQ(logged_after(1).size(), 1u);
    click_picture(Control::Picture3);
    EXPECT_EQ(logged_after(2), (std::vector<std::string>{kMail, kMail}));
}

TEST_F(Links, TheBackgroundStripOfTheBoxCounts) {
    // Picture1 is 73 x 49 pixels and its picture 73 x 44: the bottom rows are background.
    click_picture(Control::Picture1, {36, 47});
    EXPECT_EQ(logged_after(1), std::vector<std::string>{kDonation});
}

TEST_F(Links, TheWebSiteReachesTheWebCommandPastAFolderOfTheHostsName) {
    // The shell would open a file or folder of the working folder named like a bare host.
    ASSERT_TRUE(CreateDirectoryW((folder_.path() + L"\\www.example.org").c_str(), nullptr));
    click_picture(Control::Picture2);
    EXPECT_EQ(logged_after(1), std::vector<std::string>{"http://www.example.org"});
}

TEST_F(Links, WithNothingToOpenTheTargetTheProgramStaysAsItWas) {
    register_open_command(L"\"C:\\windows\\torvane-no-such-browser.exe\" \"%1\"");
    click_picture(Control::Picture1);
    click_picture(Control::Picture2);
    click_picture(Control::Picture3);
    EXPECT_FALSE(brelix_->wait_for_exit(1s));
    EXPECT_FALSE(brelix_->wait_for_message_box(500ms)) << "no message of the program's own";
    EXPECT_TRUE(logged().empty());
    EXPECT_EQ(narrow(text_of(brelix_->control(Control::TextBox1))), kDefaultPath);
}

}  // namespace
