#include "common/TFontObject.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace {

const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック

TEST(TFontObjectTest, HoldsOneHandleForItsLifetime) {
  const int before = plat::GdiObjectCount();
  {
    TFontObject a(0, 16, kGothic, 400, 2, 0, 0, 0);
    TFontObject b(0, 16, kGothic, 400, 2, 0, 0, 0);
    ASSERT_NE(a.GetHandle(), nullptr);
    EXPECT_NE(a.GetHandle(), b.GetHandle());
    EXPECT_EQ(plat::GdiObjectCount(), before + 2);
    EXPECT_EQ(a.GetDescription().lfCharSet, 1);
    EXPECT_STREQ(a.GetDescription().lfFaceName, kGothic);

    // Width 0 lets the face choose: half of the 16-pixel em.
    plat::HDC dc = plat::CreateCompatibleDC(nullptr);
    plat::HGDIOBJ old = plat::SelectObject(dc, a.GetHandle());
    plat::TEXTMETRIC tm;
    ASSERT_TRUE(plat::GetTextMetrics(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmAveCharWidth, 8);
    plat::SelectObject(dc, old);
    plat::DeleteDC(dc);

    a.Create();  // replaces, never adds
    EXPECT_EQ(plat::GdiObjectCount(), before + 2);
  }
  EXPECT_EQ(plat::GdiObjectCount(), before);
}

TEST(TFontObjectTest, LongFaceNamesAreCutAndRefusedFontsLeaveNoHandle) {
  TFontObject longName(0, 16, std::string(40, 'x'), 400, 2, 0, 0, 0);
  EXPECT_EQ(std::string(longName.GetDescription().lfFaceName), std::string(31, 'x'));

  testkit::TempDir empty;
  plat::SetFontFolders({empty.path()});
  TFontObject none(0, 16, kGothic, 400, 2, 0, 0, 0);
  EXPECT_EQ(none.GetHandle(), nullptr);
  plat::SetFontFolders({});
}

}  // namespace
