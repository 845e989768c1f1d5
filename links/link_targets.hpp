#pragma once

#include <string_view>

// Where the three link pictures lead: the maker's donation page, web site and mail.
namespace links {

inline constexpr std::wstring_view kMakerMail = L"ilse.marnow@example.com";

// Inside the query's values dots, hyphens, colons and the at sign are percent-encoded,
// as the payment service expects; underscores are not.
inline constexpr std::wstring_view kDonationPage =
    L"https://pay.example.org/donate"
    L"?cmd=_donations"
    L"&business=ilse%2Emarnow%40example%2Ecom"
    L"&lc=DE"
    L"&item_name=Ilse%20Marnow"
    L"&item_number=brelix"
    L"&currency_code=EUR"
    L"&bn=TV%2DDonate_Button%3ANonHosted";

// With its scheme: the shell would look a bare host name up as a file or folder in the
// working folder first, and open one of that name there in place of the site.
inline constexpr std::wstring_view kWebSite = L"http://www.example.org";

inline constexpr std::wstring_view kMailMessage = L"mailto:ilse.marnow@example.com";

}  // namespace links
