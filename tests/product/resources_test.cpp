// The built 32-bit product's resource section, read as Windows reads it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "res/identity.h"
#include "tests/res/pe_resources.h"

using namespace restest;

namespace {

std::string SourceDir() {
  const char* d = std::getenv("BRISVANE_SOURCE_DIR");
  return d ? d : ".";
}

class Resources : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("BRISVANE_PRODUCT_EXE");
    ASSERT_TRUE(path) << "BRISVANE_PRODUCT_EXE names the product";
    Bytes pe = ReadFile(path);
    ASSERT_FALSE(pe.empty()) << path << " is missing";
    resources_ = ReadResources(pe);
  }

  const Resource& Find(const std::string& type, const std::string& name) const {
    for (const auto& r : resources_)
      if (r.type == type && r.name == name) return r;
    throw std::runtime_error("no resource " + type + "/" + name);
  }

  std::vector<Resource> resources_;
};

TEST_F(Resources, ResourceDirectoryIsExactlyTheTableInLoaderOrder) {
  // Named groups sort ahead of numbered ones, which makes "AAA" the shell's icon.
  const std::vector<std::tuple<std::string, std::string, unsigned>> expected = {
      {"#3", "#1", 1033},  {"#3", "#2", 1033},  {"#3", "#3", 1033},   {"#3", "#4", 1033},
      {"#3", "#5", 1033},  {"#3", "#6", 1033},  {"#3", "#7", 1033},   {"#3", "#30001", 0},
      {"#3", "#30002", 0}, {"#3", "#30003", 0}, {"#14", "AAA", 1033}, {"#14", "ZZZ", 1033},
      {"#14", "#1", 0},    {"#16", "#1", 1033}, {"#24", "#1", 1033},
  };
  std::vector<std::tuple<std::string, std::string, unsigned>> actual;
  for (const auto& r : resources_) actual.emplace_back(r.type, r.name, r.language);
  EXPECT_EQ(actual, expected);
}

struct ImageSpec {
  const char* name;
  int size, bpp;
  std::size_t bytes;
};

const ImageSpec kImages[] = {
    {"#1", 48, 8, 3752},    {"#2", 32, 8, 2216},    {"#3", 16, 8, 1384},  {"#4", 48, 32, 9640},
    {"#5", 32, 32, 4264},   {"#6", 16, 32, 1128},   {"#7", 16, 32, 1128}, {"#30001", 32, 1, 304},
    {"#30002", 32, 4, 744}, {"#30003", 16, 4, 296},
};

// Each is the generated file of its name.
TEST_F(Resources, EveryIconImageHasItsSizeDepthAndByteCount) {
  for (const auto& image : kImages) {
    SCOPED_TRACE(image.name);
    const Resource& r = Find("#3", image.name);
    EXPECT_EQ(r.data, ReadFile(SourceDir() + "/res/icons/icon" + (image.name + 1) + ".bin"));
    IconImage im(r.data);
    EXPECT_EQ(im.width(), image.size);
    EXPECT_EQ(im.bit_count(), image.bpp);
    EXPECT_EQ(r.data.size(), image.bytes);
    EXPECT_EQ(im.ExpectedSize(), image.bytes);

    std::set<std::uint32_t> colours;
    std::set<int> alphas;
    bool see_through = false, solid = false;
    for (int y = 0; y < image.size; ++y)
      for (int x = 0; x < image.size; ++x) {
        Pixel p = im.At(x, y);
        (p.transparent ? see_through : solid) = true;
        if (!p.transparent) colours.insert(std::uint32_t(p.r << 16 | p.g << 8 | p.b));
        alphas.insert(p.a);
      }
    EXPECT_TRUE(see_through && solid) << "the mask must cut out a shape";
    EXPECT_GE(colours.size(), 2u);
    if (image.bpp == 32) {
      int partial = 0;
      for (int a : alphas) partial += a > 0 && a < 255;
      EXPECT_GT(partial, 2) << "32-bit images keep anti-aliased edges as alpha";
    }
  }
}

// Each group's directory: its entries name its images, in order, with their
// size, colour count (below 8 bits a pixel), one plane, depth and byte count.
TEST_F(Resources, GroupDirectoriesListTheirImages) {
  const std::pair<const char*, std::vector<int>> groups[] = {
      {"AAA", {0, 1, 2, 3, 4, 5}}, {"ZZZ", {6}}, {"#1", {7, 8, 9}}};
  for (const auto& [name, images] : groups) {
    SCOPED_TRACE(name);
    const Bytes& g = Find("#14", name).data;
    ASSERT_EQ(g.size(), 6 + 14 * images.size());
    EXPECT_EQ(std::vector<unsigned>({Le16(g, 0), Le16(g, 2), Le16(g, 4)}),
              std::vector<unsigned>({0, 1, unsigned(images.size())}))  // type 1: icons
        << "header";
    for (std::size_t i = 0; i < images.size(); ++i) {
      const ImageSpec& im = kImages[images[i]];
      const std::size_t e = 6 + 14 * i;
      EXPECT_EQ(std::vector<unsigned>({g[e], g[e + 1], g[e + 2], g[e + 3], Le16(g, e + 4),
                                       Le16(g, e + 6), Le32(g, e + 8), Le16(g, e + 12)}),
                std::vector<unsigned>({unsigned(im.size), unsigned(im.size),
                                       im.bpp < 8 ? 1u << im.bpp : 0u, 0, 1, unsigned(im.bpp),
                                       unsigned(im.bytes), unsigned(std::stoi(im.name + 1))}))
          << "entry " << i + 1;
    }
  }
}

// One node of a version record: length, value length, type, key, value, children.
struct VersionNode {
  std::string key;
  std::size_t value, value_length, end, children;
};

VersionNode ReadVersionNode(const Bytes& b, std::size_t at) {
  VersionNode n;
  n.end = at + Le16(b, at);
  n.value_length = Le16(b, at + 2);
  std::size_t p = at + 6;
  for (; Le16(b, p) != 0; p += 2) n.key += char(Le16(b, p));
  n.value = (p + 2 + 3) & ~std::size_t(3);
  bool text = Le16(b, at + 4) == 1;
  n.children = (n.value + n.value_length * (text ? 2 : 1) + 3) & ~std::size_t(3);
  return n;
}

std::vector<VersionNode> VersionChildren(const Bytes& b, const VersionNode& parent) {
  std::vector<VersionNode> out;
  for (std::size_t at = parent.children; at < parent.end;
       at = (out.back().end + 3) & ~std::size_t(3))
    out.push_back(ReadVersionNode(b, at));
  return out;
}

std::string Utf16Text(const Bytes& b, std::size_t at, std::size_t end) {
  std::string s;
  for (; at + 1 < end && Le16(b, at) != 0; at += 2) s += char(Le16(b, at));
  return s;
}

TEST_F(Resources, VersionRecordHasTheFixedValuesStringsAndTranslation) {
  const Bytes& v = Find("#16", "#1").data;
  VersionNode root = ReadVersionNode(v, 0);
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  ASSERT_EQ(root.value_length, 52u);
  const std::uint32_t fixed[13] = {0xFEEF04BD, 0x00010000, 0x00010001, 0, 0x00010001, 0, 0,
                                   0,          4,          1,          0, 0,          0};
  for (int i = 0; i < 13; ++i)
    EXPECT_EQ(Le32(v, root.value + 4 * i), fixed[i]) << "fixed field " << i;

  auto blocks = VersionChildren(v, root);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].key, "StringFileInfo");
  EXPECT_EQ(blocks[1].key, "VarFileInfo");

  auto tables = VersionChildren(v, blocks[0]);
  ASSERT_EQ(tables.size(), 1u);
  EXPECT_EQ(tables[0].key, "040904B0");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"CompanyName", BRISVANE_MAKER},        {"FileDescription", BRISVANE_DESCRIPTION},
      {"LegalCopyright", BRISVANE_MAKER},     {"ProductName", BRISVANE_PRODUCT_NAME},
      {"FileVersion", BRISVANE_VERSION_TEXT}, {"ProductVersion", BRISVANE_VERSION_TEXT},
      {"InternalName", BRISVANE_EXE_NAME},    {"OriginalFilename", BRISVANE_EXE_FILE},
  };
  std::vector<std::pair<std::string, std::string>> actual;
  for (const auto& s : VersionChildren(v, tables[0]))
    actual.emplace_back(s.key, Utf16Text(v, s.value, s.end));
  EXPECT_EQ(actual, expected);

  auto vars = VersionChildren(v, blocks[1]);
  ASSERT_EQ(vars.size(), 1u);
  EXPECT_EQ(vars[0].key, "Translation");
  ASSERT_EQ(vars[0].value_length, 4u);
  EXPECT_EQ(Le16(v, vars[0].value), 0x0409);
  EXPECT_EQ(Le16(v, vars[0].value + 2), 0x04B0);
}

// The committed file, the common controls' binding in its exact bytes.
TEST_F(Resources, ManifestIsTheCommonControlsBindingInItsExactBytes) {
  const Bytes m = ReadFile(SourceDir() + "/res/Pellmorvaine.manifest");
  EXPECT_EQ(Find("#24", "#1").data, m);
  ASSERT_EQ(m.size(), 492u);
  std::string s(m.begin(), m.end());
  EXPECT_EQ(s.substr(0, 3), "\xEF\xBB\xBF");
  for (std::size_t i = 1; i < s.size(); ++i)
    EXPECT_FALSE(s[i] == '\n' && s[i - 1] != '\r') << "bare LF at " << i;
  EXPECT_EQ(s.substr(s.size() - 13), "</assembly>  ");
  for (const char* part :
       {"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>",
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">",
        "type=\"win32\"", "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
        "processorArchitecture=\"X86\"", "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""})
    EXPECT_NE(s.find(part), std::string::npos) << part;
  auto count = [&](const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("<dependency>"), 1u);
  EXPECT_EQ(count("<assemblyIdentity"), 1u);
  EXPECT_EQ(s.find("trustInfo"), std::string::npos) << "no execution level";
}

}  // namespace
