// The version resource of the library, read back the way Windows' own
// property pages read it.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame/VersionNumber.h"
#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(static_cast<HMODULE>(Loaded().library), path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << path;
    data_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data_.data()));
  }

  std::string Text(const std::string& field) {
    const std::string query = "\\StringFileInfo\\040904E4\\" + field;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data_.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) ||
        text == nullptr) {
      ADD_FAILURE() << "no field " << field;
      return {};
    }
    return text;
  }

  std::vector<char> data_;
};

TEST_F(VersionResource, FixedPart) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (kVersionMajor << 16) | kVersionMinor);
  EXPECT_EQ(fixed->dwFileVersionLS, (kVersionBuild << 16) | 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 0u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask,
            DWORD{VS_FF_DEBUG | VS_FF_PRERELEASE | VS_FF_PRIVATEBUILD | VS_FF_SPECIALBUILD});
  EXPECT_EQ(fixed->dwFileOS, DWORD{VOS__WINDOWS32});
  EXPECT_EQ(fixed->dwFileType, DWORD{VFT_DLL});
}

TEST_F(VersionResource, LanguageAndCodePage) {
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04E4);
}

TEST_F(VersionResource, Texts) {
  EXPECT_EQ(Text("FileDescription"), "Quillet Plugin");
  EXPECT_EQ(Text("FileVersion"), kVersionNumber);
  EXPECT_EQ(Text("InternalName"), "QL");
  EXPECT_EQ(Text("OriginalFilename"), "ql.wrp");
  EXPECT_EQ(Text("Comments"), "Interim release");
  EXPECT_EQ(Text("PrivateBuild"), "Macros add");
  EXPECT_FALSE(Text("CompanyName").empty());
  EXPECT_FALSE(Text("LegalCopyright").empty());
}

TEST_F(VersionResource, SpecialBuildIsABuildTimeInTheStampForm) {
  const std::string special = Text("SpecialBuild");
  ASSERT_FALSE(special.empty());
  ASSERT_EQ(special.find_first_not_of("0123456789ABCDEF"), std::string::npos) << special;
  ASSERT_NE(special.front(), '0') << special;
  const unsigned long long stamp = std::strtoull(special.c_str(), nullptr, 16);
  ASSERT_LT(stamp, 10'000'000'000ull) << special;
  const unsigned long long minute = stamp % 100, hour = stamp / 100 % 100,
                           day = stamp / 10'000 % 100, month = stamp / 1'000'000 % 100;
  EXPECT_LT(minute, 60u);
  EXPECT_LT(hour, 24u);
  EXPECT_TRUE(day >= 1 && day <= 31) << special;
  EXPECT_TRUE(month >= 1 && month <= 12) << special;
}

}  // namespace
}  // namespace quillet::conformance
