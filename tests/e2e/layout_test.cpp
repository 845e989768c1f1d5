// The main window as designed, checked on the screen: at 96 dots per inch pixel for pixel
// (frame, place, controls, colours), and in proportion on a display twice as dense.
#include "resources/resource_ids.h"
#include "tests/e2e/driver.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace e2e;
using shell::Control;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kNavy = RGB(0, 0, 128);

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};

// The design's places in pixels at 96 dots per inch, as the design states them.
struct DesignedPlace {
    Control control;
    PixelRect place;
};
constexpr DesignedPlace kDesignedPlaces[] = {
    {Control::Picture3, {176, 16, 33, 33}}, {Control::Picture2, {216, 16, 33, 33}},
    {Control::Picture1, {24, 8, 73, 49}},   {Control::TextBox1, {8, 88, 201, 25}},
    {Control::Command2, {216, 88, 25, 25}}, {Control::GO0, {184, 144, 73, 41}},
    {Control::GO1, {184, 144, 73, 41}},
};
constexpr PixelRect kLabel{8, 64, 137, 17};

RECT scaled(const PixelRect& place, int factor) {
    return {place.left * factor, place.top * factor, (place.left + place.width) * factor,
            (place.top + place.height) * factor};
}

bool contains(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool same_rect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

std::string describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") - (" +
           std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + ")";
}

// Whether every pixel of the rectangle (in the screenshot's coordinates) has the colour.
bool all_of_colour(const Screenshot& shot, const RECT& rect, COLORREF colour) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (shot.at(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

// The rectangle holding every pixel of the colour; empty if there is none.
RECT bounds_of_colour(const Screenshot& shot, COLORREF colour) {
    RECT bounds{shot.width(), shot.height(), 0, 0};
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.at(x, y) == colour) {
                bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                          std::max<LONG>(bounds.right, x + 1),
                          std::max<LONG>(bounds.bottom, y + 1)};
            }
        }
    }
    return bounds.right > 0 ? bounds : RECT{};
}

// The watermark as the program carries it: an 8-bit bitmap among its resources, read
// through GDI (it is run-length encoded).
class Watermark {
  public:
    Watermark() {
        const std::wstring program = test_support::beside_this_program(L"Brelix.exe");
        const HMODULE module = LoadLibraryExW(
            program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        const HRSRC found =
            module ? FindResourceW(module, MAKEINTRESOURCEW(IDP_WATERMARK), RT_BITMAP) : nullptr;
        const auto* stored =
            found ? static_cast<const BITMAPINFO*>(LockResource(LoadResource(module, found)))
                  : nullptr;
        if (stored && stored->bmiHeader.biBitCount == 8) {
            width_ = stored->bmiHeader.biWidth;
            const int height = stored->bmiHeader.biHeight;
            const HDC screen = GetDC(nullptr);
            const HBITMAP bitmap =
                CreateDIBitmap(screen, &stored->bmiHeader, CBM_INIT,
                               reinterpret_cast<const BYTE*>(stored) + stored->bmiHeader.biSize +
                                   stored->bmiHeader.biClrUsed * sizeof(RGBQUAD),
                               stored, DIB_RGB_COLORS);
            BITMAPINFO top_down{};
            top_down.bmiHeader = {
                sizeof(BITMAPINFOHEADER), width_, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            pixels_.resize(static_cast<std::size_t>(width_ * height));
            if (GetDIBits(screen, bitmap, 0, height, pixels_.data(), &top_down, DIB_RGB_COLORS) !=
                height) {
                pixels_.clear();
            }
            DeleteObject(bitmap);
            ReleaseDC(nullptr, screen);
        }
        FreeLibrary(module);
    }

    [[nodiscard]] bool loaded() const { return !pixels_.empty(); }

    [[nodiscard]] COLORREF at(int x, int y) const {
        const RGBQUAD colour = pixels_.at(static_cast<std::size_t>(y * width_ + x));
        return RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue);
    }

  private:
    int width_ = 0;
    std::vector<RGBQUAD> pixels_;
};

class Layout : public testing::Test {
  protected:
    void SetUp() override {
        folder_.write(L"backup.bat", "@echo off\r\n");
        brelix_ = std::make_unique<Brelix>(folder_);
        ASSERT_TRUE(brelix_->window());
        // The first painting has reached the Go picture, the last control, and is over.
        ASSERT_TRUE(brelix_->wait_until_painted());
        at_start_ = settled_screenshot(client_on_screen(brelix_->window()));
    }

    [[nodiscard]] HWND control(Control name) const { return brelix_->control(name); }
    [[nodiscard]] Screenshot box(Control name) const { return screenshot_of(control(name)); }

    TempFolder folder_;
    std::unique_ptr<Brelix> brelix_;
    std::optional<Screenshot> at_start_;  // the client area, once first painted
};

TEST_F(Layout, FrameIsAFixedToolWindowWithOnlyTheCloseBox) {
    const HWND window = brelix_->window();
    EXPECT_EQ(text_of(window), L"Torvane");
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto extended = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(style & WS_SYSMENU) << "the close box";
    EXPECT_FALSE(style & WS_THICKFRAME) << "resizable";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(extended & WS_EX_TOOLWINDOW) << "small title bar without icon, no taskbar button";
    EXPECT_FALSE(extended & WS_EX_APPWINDOW) << "would force a taskbar button";
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    RECT frame{};
    GetWindowRect(window, &frame);
    const int middle = (frame.top + frame.bottom) / 2;
    for (const POINT edge : {POINT{frame.left, middle}, POINT{frame.right - 1, middle},
                             POINT{(frame.left + frame.right) / 2, frame.bottom - 1}}) {
        const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y));
        EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST)
            << "the border at " << edge.x << ", " << edge.y << " resizes (" << hit << ")";
    }
}

TEST_F(Layout, ClientAreaHasItsSizeAndPlaceOnTheScreen) {
    const RECT client = client_on_screen(brelix_->window());
    EXPECT_TRUE(same_rect(client, {355, 313, 355 + 259, 313 + 188})) << describe(client);
}

TEST_F(Layout, ControlsHaveTheirPlacesTextsKindsAndStacking) {
    for (const auto& [name, place] : kDesignedPlaces) {
        const RECT actual = place_in_parent(control(name));
        EXPECT_TRUE(same_rect(actual, scaled(place, 1)))
            << "control " << static_cast<int>(name) << " at " << describe(actual);
    }
    EXPECT_EQ(text_of(control(Control::TextBox1)), L"C:\\Program Files\\Avira\\Antivir Desktop");
    EXPECT_EQ(text_of(control(Control::Command2)), L"...");

    wchar_t class_name[32]{};
    GetClassNameW(control(Control::TextBox1), class_name, 32);
    EXPECT_EQ(_wcsicmp(class_name, L"Edit"), 0) << narrow(class_name);
    EXPECT_TRUE(GetWindowLongW(control(Control::TextBox1), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    GetClassNameW(control(Control::Command2), class_name, 32);
    EXPECT_EQ(_wcsicmp(class_name, L"Button"), 0) << narrow(class_name);
    EXPECT_EQ(GetWindowLongW(control(Control::Command2), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON)
        << "neither the default button nor any other kind";

    std::vector<HWND> front_to_back;
    for (HWND child = GetWindow(brelix_->window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        front_to_back.push_back(child);
    }
    const std::vector<HWND> designed = {control(Control::Picture3), control(Control::Picture2),
                                        control(Control::Picture1), control(Control::TextBox1),
                                        control(Control::Command2), control(Control::GO0),
                                        control(Control::GO1)};
    EXPECT_EQ(front_to_back, designed) << "the label and the watermark are no windows of their own";
}

TEST_F(Layout, PictureBoxesShowTheirBackgroundWherePicturesEnd) {
    // Pictures smaller than their boxes leave strips of the box's background colour.
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    for (const Control link : {Control::Picture2, Control::Picture3}) {
        const Screenshot shot = box(link);
        EXPECT_TRUE(all_of_colour(shot, {32, 0, 33, 33}, background)) << static_cast<int>(link);
        EXPECT_TRUE(all_of_colour(shot, {0, 32, 33, 33}, background)) << static_cast<int>(link);
        EXPECT_FALSE(all_of_colour(shot, {0, 0, 32, 32}, background)) << "no picture";
    }
    const Screenshot donate = box(Control::Picture1);
    EXPECT_TRUE(all_of_colour(donate, {0, 44, 73, 49}, background));
    EXPECT_FALSE(all_of_colour(donate, {0, 43, 73, 44}, background)) << "picture's last row";
    const Screenshot go = box(Control::GO0);
    EXPECT_TRUE(all_of_colour(go, {65, 0, 73, 41}, background));
    EXPECT_TRUE(all_of_colour(go, {0, 36, 73, 41}, background));

    // The mail picture's three transparent pixels at each corner show the background.
    const Screenshot mail = box(Control::Picture3);
    for (const auto& [x, y] : {std::pair{0, 0},
                               {1, 0},
                               {0, 1},
                               {31, 0},
                               {30, 0},
                               {31, 1},
                               {0, 31},
                               {1, 31},
                               {0, 30},
                               {31, 31},
                               {30, 31},
                               {31, 30}}) {
        EXPECT_EQ(mail.at(x, y), background) << "corner pixel " << x << ", " << y;
    }
    EXPECT_NE(mail.at(1, 1), background) << "the teal square itself";
}

TEST_F(Layout, LabelIsNavyLettersInsideItsRectangleOverTheWatermark) {
    const Screenshot& shot = *at_start_;
    const RECT letters = bounds_of_colour(shot, kNavy);
    const RECT label = scaled(kLabel, 1);
    ASSERT_FALSE(IsRectEmpty(&letters)) << "no navy letters anywhere";
    RECT inside{};
    IntersectRect(&inside, &letters, &label);
    EXPECT_TRUE(same_rect(inside, letters)) << "navy outside the label: " << describe(letters);
    EXPECT_LT(letters.right, label.right) << "the caption does not fit";
    EXPECT_GT(letters.right - letters.left, 100) << "not the whole caption";

    // Between the letters the watermark shows, not a background of the label's own.
    int watermark_pixels = 0;
    for (int y = label.top; y < label.bottom; ++y) {
        for (int x = label.left; x < label.right; ++x) {
            const COLORREF colour = shot.at(x, y);
            watermark_pixels += colour != kWhite && GetRValue(colour) == GetBValue(colour);
        }
    }
    EXPECT_GT(watermark_pixels, 0);
}

TEST_F(Layout, WatermarkShowsFromItsNinthRowAndTheBottomRowsAreWhite) {
    const Watermark watermark;
    ASSERT_TRUE(watermark.loaded());
    const Screenshot& shot = *at_start_;
    // Regions that no control and no letter covers.
    const RECT open_regions[] = {{100, 0, 170, 8}, {0, 116, 180, 142}, {250, 116, 259, 142}};
    int telling_pixels = 0;  // where drawing one row higher or lower would show
    for (const RECT& region : open_regions) {
        for (int y = region.top; y < region.bottom; ++y) {
            for (int x = region.left; x < region.right; ++x) {
                ASSERT_EQ(shot.at(x, y), watermark.at(x, y + 8)) << "at " << x << ", " << y;
                telling_pixels += watermark.at(x, y + 7) != watermark.at(x, y + 8) ||
                                  watermark.at(x, y + 9) != watermark.at(x, y + 8);
            }
        }
    }
    EXPECT_GT(telling_pixels, 100) << "the regions cannot tell the watermark's place";
    EXPECT_TRUE(all_of_colour(shot, {0, 186, 259, 188}, kWhite));
}

TEST_F(Layout, PressedLookChangesOnlyTheGoRectangle) {
    const Screenshot& at_rest = *at_start_;
    move_pointer(brelix_->go_point());
    press(MouseButton::Left);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(control(Control::GO0)); }));
    ASSERT_TRUE(wait_until([&] { return is_go_orange(screen_pixel(brelix_->go_point())); }));
    const Screenshot pressed = settled_screenshot(client_on_screen(brelix_->window()));
    const RECT go = scaled(kDesignedPlaces[5].place, 1);
    int orange_pixels = 0;
    for (int y = 0; y < at_rest.height(); ++y) {
        for (int x = 0; x < at_rest.width(); ++x) {
            if (pressed.at(x, y) != at_rest.at(x, y)) {
                orange_pixels += is_go_orange(pressed.at(x, y));
                EXPECT_TRUE(contains(go, x, y)) << "changed outside Go at " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(orange_pixels, 500) << "the orange picture did not show";
    release(MouseButton::Left);
    EXPECT_TRUE(brelix_->wait_for_exit());
}

TEST_F(Layout, ClicksOnTheLabelTheWatermarkAndTheBottomStripDoNothing) {
    const Screenshot& before = *at_start_;
    const RECT client_area = client_on_screen(brelix_->window());
    for (const auto& [x, y] : {std::pair{40, 72}, {130, 130}, {10, 30}, {100, 187}}) {
        click({client_area.left + x, client_area.top + y});
    }
    EXPECT_EQ(brelix_->wait_for_message_box(500ms), nullptr);
    EXPECT_FALSE(brelix_->wait_for_exit(0ms));
    EXPECT_EQ(focus_in(brelix_->window()), control(Control::GO0));
    EXPECT_TRUE(settled_screenshot(client_area) == before);
    EXPECT_EQ(folder_.read(L"backup.bat"), "@echo off\r\n");
    EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"backup.bat"});
}

// Wine takes the display's density from the user's settings when a program starts; the
// old value comes back at the end of the test.
class DisplayDensity {
  public:
    explicit DisplayDensity(DWORD dots_per_inch) {
        DWORD size = sizeof(saved_);
        had_value_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr,
                                  &saved_, &size) == ERROR_SUCCESS;
        set(dots_per_inch);
    }
    DisplayDensity(const DisplayDensity&) = delete;
    DisplayDensity& operator=(const DisplayDensity&) = delete;
    ~DisplayDensity() {
        if (had_value_) {
            set(saved_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
        }
    }

  private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
    static constexpr const wchar_t* kValue = L"LogPixels";
    static void set(DWORD dots_per_inch) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dots_per_inch,
                        sizeof(dots_per_inch));
    }
    DWORD saved_ = 0;
    bool had_value_ = false;
};

TEST(HighDensity, At192DotsPerInchTheWindowIsTwiceAsLargeInProportion) {
    const TempFolder folder;
    folder.write(L"backup.bat", "@echo off\r\n");
    const DisplayDensity density(192);
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());

    const RECT client = client_on_screen(brelix.window());
    EXPECT_TRUE(same_rect(client, {710, 626, 710 + 518, 626 + 376})) << describe(client);
    for (const auto& [name, place] : kDesignedPlaces) {
        const RECT actual = place_in_parent(brelix.control(name));
        EXPECT_TRUE(same_rect(actual, scaled(place, 2)))
            << "control " << static_cast<int>(name) << " at " << describe(actual);
    }

    // The pictures grow with their boxes, so the strips keep their proportions.
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    Screenshot go = screenshot_of(brelix.control(Control::GO0));
    ASSERT_TRUE(wait_until([&] {
        go = screenshot_of(brelix.control(Control::GO0));
        return !all_of_colour(go, {0, 0, 130, 72}, background);
    }));
    EXPECT_TRUE(all_of_colour(go, {130, 0, 146, 82}, background));
    EXPECT_TRUE(all_of_colour(go, {0, 72, 146, 82}, background));
    EXPECT_FALSE(all_of_colour(go, {128, 0, 130, 72}, background)) << "picture's right edge";
    EXPECT_FALSE(all_of_colour(go, {0, 70, 130, 72}, background)) << "picture's bottom edge";

    const Screenshot shot(client);
    const RECT letters = bounds_of_colour(shot, kNavy);
    const RECT label = scaled(kLabel, 2);
    RECT inside{};
    IntersectRect(&inside, &letters, &label);
    EXPECT_TRUE(same_rect(inside, letters)) << "navy outside the label: " << describe(letters);
    EXPECT_GT(letters.right - letters.left, 200) << "the caption at its larger size";
    EXPECT_LT(letters.right, label.right) << "the caption does not fit";
    EXPECT_TRUE(all_of_colour(shot, {0, 372, 518, 376}, kWhite));
}

// What Windows sends when the window is dragged onto a display of another density (Wine
// has one density for all displays); the suggested rectangle is put into the program's
// own memory, as the system would.
void tell_new_density(HWND window, int dots_per_inch, const RECT& suggested) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_id);
    ASSERT_TRUE(process) << "error " << GetLastError();
    void* remote = VirtualAllocEx(process, nullptr, sizeof(suggested), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dots_per_inch, dots_per_inch),
                 reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

TEST(HighDensity, OnADenserDisplayTheWindowFitsItselfAgain) {
    const TempFolder folder;
    folder.write(L"backup.bat", "@echo off\r\n");
    const Brelix brelix(folder);
    ASSERT_TRUE(brelix.window());

    tell_new_density(brelix.window(), 144, {100, 80, 500, 480});
    RECT frame{};
    GetWindowRect(brelix.window(), &frame);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 80);
    // The frame's size is left alone here: Wine's own frame stays at the density the
    // window really has, which a message cannot change.
    const RECT go = place_in_parent(brelix.control(Control::GO0));
    EXPECT_TRUE(same_rect(go, {276, 216, 276 + 110, 216 + 62})) << describe(go);

    // The Go picture, 65 x 36 pixels at 96 dots per inch, is now 98 x 54.
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    const auto looks_refitted = [&] {
        const Screenshot shot = screenshot_of(brelix.control(Control::GO0));
        return !all_of_colour(shot, {96, 0, 98, 54}, background) &&
               !all_of_colour(shot, {0, 52, 98, 54}, background) &&
               all_of_colour(shot, {98, 0, 110, 62}, background) &&
               all_of_colour(shot, {0, 54, 110, 62}, background);
    };
    EXPECT_TRUE(wait_until(looks_refitted, 5s));
}

}  // namespace
