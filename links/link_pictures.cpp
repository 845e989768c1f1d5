#include "links/link_pictures.hpp"

#include "links/link_targets.hpp"
#include "platform/shell_open.hpp"
#include "shell/form1.hpp"

namespace links {

void Picture1_Click() {
    platform::open_with_shell(shell::form1().handle(), kDonationPage);
}
void Picture2_Click() {
    platform::open_with_shell(shell::form1().handle(), kWebSite);
}
void Picture3_Click() {
    platform::open_with_shell(shell::form1().handle(), kMailMessage);
}

}  // namespace links
