// The link targets keep their forms: a slip here silently breaks a link.
#include "links/link_targets.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

Pairs query_pairs(std::wstring_view address) {
    Pairs pairs;
    std::wstring_view query = address.substr(address.find(L'?') + 1);
    while (!query.empty()) {
        const std::size_t end = std::min(query.find(L'&'), query.size());
        const std::wstring_view pair = query.substr(0, end);
        const std::size_t equals = pair.find(L'=');
        pairs.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
        query.remove_prefix(std::min(end + 1, query.size()));
    }
    return pairs;
}

std::wstring percent_decoded(std::wstring_view value) {
    std::wstring decoded;
    for (std::size_t index = 0; index < value.size(); ++index) {
        if (value[index] == L'%' && index + 2 < value.size()) {
            decoded += static_cast<wchar_t>(
                std::stoi(std::wstring(value.substr(index + 1, 2)), nullptr, 16));
            index += 2;
        } else {
            decoded += value[index];
        }
    }
    return decoded;
}

bool all_letters(std::wstring_view text, std::size_t length) {
    return text.size() == length && std::all_of(text.begin(), text.end(), [](wchar_t c) {
               return std::iswupper(static_cast<wint_t>(c)) != 0;
           });
}

TEST(DonationPage, IsASecureAddressWithHostPathAndSevenPairsInOrder) {
    const std::wstring_view page = links::kDonationPage;
    ASSERT_EQ(page.substr(0, 8), L"https://");
    const std::wstring_view rest = page.substr(8);
    ASSERT_LT(rest.find(L'/'), rest.find(L'?')) << "no path before the query";
    std::vector<std::wstring> keys;
    for (const auto& [key, value] : query_pairs(page)) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"cmd", L"business", L"lc", L"item_name",
                                               L"item_number", L"currency_code", L"bn"}));
}

TEST(DonationPage, EncodesDotsHyphensColonsAndAtSignsButNotUnderscores) {
    bool saw_underscore = false;
    for (const auto& [key, value] : query_pairs(links::kDonationPage)) {
        EXPECT_EQ(value.find_first_of(L".-:@"), std::wstring::npos) << key;
        saw_underscore = saw_underscore || value.find(L'_') != std::wstring::npos;
        EXPECT_EQ(value.find(L"%5F"), std::wstring::npos) << key;
    }
    EXPECT_TRUE(saw_underscore);
}

TEST(DonationPage, ValuesHaveTheirForms) {
    const Pairs pairs = query_pairs(links::kDonationPage);
    ASSERT_EQ(pairs.size(), 7u);
    EXPECT_EQ(percent_decoded(pairs[1].second), links::kMakerMail);
    EXPECT_TRUE(all_letters(pairs[2].second, 2)) << "country code";
    EXPECT_EQ(pairs[4].second, L"brelix");
    EXPECT_TRUE(all_letters(pairs[5].second, 3)) << "currency code";
}

TEST(WebSite, IsAnHttpAddressOfAHostStartingWithWww) {
    const std::wstring_view site = links::kWebSite;
    EXPECT_EQ(site.substr(0, 11), L"http://www.");
    EXPECT_EQ(site.substr(7).find_first_of(L":/?#"), std::wstring::npos);
}

TEST(MailMessage, IsMailtoTheMakerWithoutHeaderFields) {
    EXPECT_EQ(links::kMailMessage, L"mailto:" + std::wstring(links::kMakerMail));
}

}  // namespace
