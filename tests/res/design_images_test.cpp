// The about box's two design images, as the icon APIs will read them.
#include "about/design_images.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/res/pe_resources.h"

using namespace restest;

namespace {

// The image, once its size, depth and byte count are the design's.
IconImage DesignImage(const unsigned char* data, std::size_t size, int width, int bpp,
                      std::size_t bytes) {
  IconImage im(Bytes(data, data + size));
  EXPECT_EQ(im.width(), width);
  EXPECT_EQ(im.bit_count(), bpp);
  EXPECT_EQ(size, bytes);
  EXPECT_EQ(im.ExpectedSize(), bytes);
  return im;
}

TEST(DesignImages, AboutIconIsASmallWhiteWindowWithCyanTitleAndGreyShadow) {
  IconImage im =
      DesignImage(brisvane::kAboutDesignIcon, brisvane::kAboutDesignIconSize, 16, 8, 1384);
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
  IconImage im =
      DesignImage(brisvane::kLinkHandPointer, brisvane::kLinkHandPointerSize, 32, 4, 744);
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
