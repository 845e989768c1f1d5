#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "resources/resource_ids.h"

// The design values of the main window and its controls. Places and sizes are in twips
// (1/1440 inch) and are scaled to pixels for the display in one place (scale_twips).
namespace shell {

enum class Control { Picture3, Picture2, Picture1, TextBox1, Command2, GO0, GO1, Image1, Label2 };
enum class Kind { PictureBox, TextField, PushButton, Image, Label };
enum class Background { SystemWindow, White, Transparent };

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
    friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct ControlDesign {
    Control name;
    Kind kind;
    int id;  // child-window identifier, also used by the tests to find the control
    TwipsRect place;
    int tab_index;  // -1: not in the tab order
    std::wstring_view text;
    Background background;
    int picture;  // resource identifier of the picture, 0 for none
};

inline constexpr std::wstring_view kFormTitle = L"Torvane";
inline constexpr std::wstring_view kDefaultSourcePath =
    L"C:\\Program Files\\Avira\\Antivir Desktop";
inline constexpr int kTwipsPerInch = 1440;
inline constexpr TwipsRect kFormClientArea{5325, 4695, 3885, 2820};

// Front to back: a child window earlier in this list lies above the later ones.
// clang-format off
inline constexpr std::array<ControlDesign, 9> kControls{{
    // name               kind              id   place (twips)              tab text                          background                picture
    {Control::Picture3, Kind::PictureBox, 103, {2640, 240, 495, 495},     7, L"",                          Background::SystemWindow, IDP_MAIL},
    {Control::Picture2, Kind::PictureBox, 102, {3240, 240, 495, 495},     6, L"",                          Background::SystemWindow, IDP_WEB_SITE},
    {Control::Picture1, Kind::PictureBox, 101, {360, 120, 1095, 735},     5, L"",                          Background::SystemWindow, IDP_DONATE},
    {Control::TextBox1, Kind::TextField,  110, {120, 1320, 3015, 375},    3, kDefaultSourcePath,           Background::SystemWindow, 0},
    {Control::Command2, Kind::PushButton, 120, {3240, 1320, 375, 375},    2, L"...",                       Background::SystemWindow, 0},
    {Control::GO0,      Kind::PictureBox, 130, {2760, 2160, 1095, 615},   0, L"",                          Background::SystemWindow, IDP_GO_AT_REST},
    {Control::GO1,      Kind::PictureBox, 131, {2760, 2160, 1095, 615},   1, L"",                          Background::White,        IDP_GO_PRESSED},
    {Control::Image1,   Kind::Image,      140, {0, -120, 4275, 2910},    -1, L"",                          Background::Transparent,  IDP_WATERMARK},
    {Control::Label2,   Kind::Label,      150, {120, 960, 2055, 255},     4, L"Avira Antivir Source Path", Background::Transparent,  0},
}};
// clang-format on

// The table is indexed by Control, so it must list the controls in the enumeration's order.
static_assert([] {
    for (std::size_t index = 0; index < kControls.size(); ++index) {
        if (static_cast<std::size_t>(kControls[index].name) != index) {
            return false;
        }
    }
    return true;
}());

[[nodiscard]] constexpr const ControlDesign& design_of(Control name) {
    return kControls[static_cast<std::size_t>(name)];
}

[[nodiscard]] constexpr int scale_twips(int twips, int dots_per_inch) {
    // Rounded to the nearest pixel, halves away from zero, like MulDiv.
    const long long scaled = static_cast<long long>(twips) * dots_per_inch;
    return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                        : (scaled - kTwipsPerInch / 2) / kTwipsPerInch);
}

}  // namespace shell
