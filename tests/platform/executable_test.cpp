// What Windows shows of Brelix.exe without running it: its version record and its icon.
#include "tests/support/test_support.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The shipped program named by BRELIX_PRODUCT where the tests run a build for another
// processor, else the Brelix.exe built beside this test.
std::wstring program_path() {
    if (const wchar_t* product = _wgetenv(L"BRELIX_PRODUCT"); product && *product) {
        return product;
    }
    return test_support::beside_this_program(L"Brelix.exe");
}

class VersionRecord : public testing::Test {
  protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(program_path().c_str(), &ignored);
        ASSERT_NE(size, 0u) << "Brelix.exe has no version record";
        record_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(program_path().c_str(), 0, size, record_.data()));
    }

    template <typename Value>
    const Value* query(const std::wstring& key) {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(record_.data(), key.c_str(), &value, &length) || length == 0) {
            return nullptr;
        }
        return static_cast<const Value*>(value);
    }

    std::wstring text(const std::wstring& name) {
        const auto* value = query<wchar_t>(L"\\StringFileInfo\\040904B0\\" + name);
        return value ? value : L"(missing)";
    }

    std::vector<unsigned char> record_;
};

TEST_F(VersionRecord, HasTheFixedVersionOfA32BitWindowsApplication) {
    const auto* fixed = query<VS_FIXEDFILEINFO>(L"\\");
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
}

TEST_F(VersionRecord, HasTheUsEnglishUnicodeStringTable) {
    const auto* translation = query<WORD>(L"\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
    EXPECT_EQ(text(L"CompanyName"), L"no org.");
    EXPECT_EQ(text(L"ProductName"), L"Torvane");
    EXPECT_EQ(text(L"FileVersion"), L"1.00");
    EXPECT_EQ(text(L"ProductVersion"), L"1.00");
    EXPECT_EQ(text(L"InternalName"), L"Brelix");
    EXPECT_EQ(text(L"OriginalFilename"), L"Brelix.exe");
}

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bits_per_pixel;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct IconImage {
    int width;
    int height;
    int bits_per_pixel;
    bool operator==(const IconImage&) const = default;
};

BOOL CALLBACK collect_name(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(
        IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<UINT_PTR>(name)) : name);
    return TRUE;
}

TEST(Icon, IsOneGroupOfThreeImagesAt32And16Pixels) {
    const HMODULE program = LoadLibraryExW(
        program_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(program);
    std::vector<std::wstring> groups;
    EnumResourceNamesW(program, RT_GROUP_ICON, collect_name, reinterpret_cast<LONG_PTR>(&groups));
    ASSERT_EQ(groups.size(), 1u);

    const HRSRC group =
        FindResourceW(program, MAKEINTRESOURCEW(std::stoi(groups[0])), RT_GROUP_ICON);
    ASSERT_TRUE(group);
    const auto* header =
        static_cast<const IconGroupHeader*>(LockResource(LoadResource(program, group)));
    ASSERT_EQ(header->count, 3);
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
    std::vector<IconImage> images;
    for (int index = 0; index < header->count; ++index) {
        // The image's own header tells its true depth, whatever the directory says.
        const HRSRC image = FindResourceW(program, MAKEINTRESOURCEW(entries[index].id), RT_ICON);
        ASSERT_TRUE(image);
        const auto* bitmap =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(program, image)));
        images.push_back({bitmap->biWidth, bitmap->biHeight / 2, bitmap->biBitCount});
    }
    EXPECT_EQ(images, (std::vector<IconImage>{{32, 32, 1}, {32, 32, 4}, {16, 16, 4}}));
    FreeLibrary(program);
}

}  // namespace
