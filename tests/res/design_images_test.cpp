// The about box's two design images, as the icon APIs will read them.
#include "about/design_images.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/res/pe_resources.h"

using namespace restest;

namespace {

IconImage DesignImage(const unsigned char* data, std::size_t size) {
  return IconImage(Bytes(data, data + size));
}

TEST(DesignImages, AboutIconIsASmallWhiteWindowWithCyanTitleAndGreyShadow) {
  IconImage im = DesignImage(brisvane::kAboutDesignIcon, brisvane::kAboutDesignIconSize);
  EXPECT_EQ(im.width(), 16);
  EXPECT_EQ(im.bit_count(), 8);
  EXPECT_EQ(brisvane::kAboutDesignIconSize, 1384u);
  EXPECT_EQ(im.ExpectedSize(), 1384u);
  std::set<std::uint32_t> colours;
  bool see_through = false;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      Pixel p = im.At(x, y);
      see_through |= p.transparent;
      if (!p.transparent) colours.insert(std::uint32_t(p.r << 16 | p.g << 8 | p.b));
    }
  EXPECT_TRUE(see_through);
  for (std::uint32_t c : {0xFFFFFFu, 0x00FFFFu, 0x808080u})
    EXPECT_TRUE(colours.count(c)) << std::hex << c;
}

TEST(DesignImages, HandPointerHasItsFingertipAtTheHotSpot) {
  IconImage im = DesignImage(brisvane::kLinkHandPointer, brisvane::kLinkHandPointerSize);
  EXPECT_EQ(im.width(), 32);
  EXPECT_EQ(im.bit_count(), 4);
  EXPECT_EQ(brisvane::kLinkHandPointerSize, 744u);
  EXPECT_EQ(im.ExpectedSize(), 744u);
  const std::uint32_t standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(im.PaletteEntry(i), standard[i]) << "palette entry " << i;

  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_TRUE(im.At(x, y).transparent) << "upper half at " << x << "," << y;
  for (int x = 0; x < 32; ++x)
    EXPECT_EQ(im.At(x, 16).transparent, x != 15 && x != 16) << "row 16, column " << x;

  std::set<std::uint32_t> colours;
  for (int y = 16; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (!im.At(x, y).transparent)
        colours.insert(std::uint32_t(im.At(x, y).r << 16 | im.At(x, y).g << 8 | im.At(x, y).b));
  EXPECT_EQ(colours, (std::set<std::uint32_t>{0x000000, 0xC0C0C0, 0xFFFFFF}))
      << "white, shaded grey and black";
}

}  // namespace
