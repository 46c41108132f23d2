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

std::string sourceDir() {
    const char* d = std::getenv("BRISVANE_SOURCE_DIR");
    return d ? d : ".";
}

class ProductExe : public ::testing::Test {
protected:
    void SetUp() override {
        const char* override = std::getenv("BRISVANE_PRODUCT_EXE");
        const std::string path = override ? override : sourceDir() + "/build/win32/Pellmorvaine.exe";
        Bytes pe = readFile(path);
        ASSERT_FALSE(pe.empty()) << path << " is missing: build the win32 preset first "
                                 << "(cmake --preset win32 && cmake --build --preset win32)";
        resources_ = readResources(pe);
    }

    const Resource& find(const std::string& type, const std::string& name) const {
        for (const auto& r : resources_)
            if (r.type == type && r.name == name) return r;
        throw std::runtime_error("no resource " + type + "/" + name);
    }

    std::vector<Resource> resources_;
};

TEST_F(ProductExe, ResourceDirectoryIsExactlyTheTableInLoaderOrder) {
    // Named groups sort ahead of numbered ones, which makes "AAA" the shell's icon.
    const std::vector<std::tuple<std::string, std::string, unsigned>> expected = {
        {"#3", "#1", 1033},     {"#3", "#2", 1033},     {"#3", "#3", 1033},     {"#3", "#4", 1033},
        {"#3", "#5", 1033},     {"#3", "#6", 1033},     {"#3", "#7", 1033},     {"#3", "#30001", 0},
        {"#3", "#30002", 0},    {"#3", "#30003", 0},    {"#14", "AAA", 1033},   {"#14", "ZZZ", 1033},
        {"#14", "#1", 0},       {"#16", "#1", 1033},    {"#24", "#1", 1033},
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
    {"#1", 48, 8, 3752},  {"#2", 32, 8, 2216},  {"#3", 16, 8, 1384},   {"#4", 48, 32, 9640},
    {"#5", 32, 32, 4264}, {"#6", 16, 32, 1128}, {"#7", 16, 32, 1128},  {"#30001", 32, 1, 304},
    {"#30002", 32, 4, 744}, {"#30003", 16, 4, 296},
};

TEST_F(ProductExe, EveryIconImageHasItsSizeDepthAndByteCount) {
    for (const auto& image : kImages) {
        SCOPED_TRACE(image.name);
        const Resource& r = find("#3", image.name);
        IconImage im(r.data);
        EXPECT_EQ(im.width(), image.size);
        EXPECT_EQ(im.bitCount(), image.bpp);
        EXPECT_EQ(r.data.size(), image.bytes);
        EXPECT_EQ(im.expectedSize(), image.bytes);

        std::set<std::uint32_t> colours;
        std::set<int> alphas;
        bool seeThrough = false, solid = false;
        for (int y = 0; y < image.size; ++y)
            for (int x = 0; x < image.size; ++x) {
                Pixel p = im.at(x, y);
                (p.transparent ? seeThrough : solid) = true;
                if (!p.transparent) colours.insert(std::uint32_t(p.r << 16 | p.g << 8 | p.b));
                alphas.insert(p.a);
            }
        EXPECT_TRUE(seeThrough && solid) << "the mask must cut out a shape";
        EXPECT_GE(colours.size(), 2u);
        if (image.bpp == 32) {
            int partial = 0;
            for (int a : alphas) partial += a > 0 && a < 255;
            EXPECT_GT(partial, 2) << "32-bit images keep anti-aliased edges as alpha";
        }
    }
}

TEST_F(ProductExe, IconImagesAreTheGeneratedFiles) {
    for (const auto& image : kImages) {
        std::string file = sourceDir() + "/res/icons/icon" + std::string(image.name + 1) + ".bin";
        EXPECT_EQ(find("#3", image.name).data, readFile(file)) << file;
    }
}

struct EntrySpec {
    int width, colours, bpp;
    std::uint32_t bytes;
    int id;
};

void expectGroup(const Bytes& g, const std::vector<EntrySpec>& entries) {
    ASSERT_EQ(g.size(), 6 + 14 * entries.size());
    EXPECT_EQ(le16(g, 0), 0);
    EXPECT_EQ(le16(g, 2), 1) << "type 1 is icon";
    ASSERT_EQ(le16(g, 4), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        std::size_t e = 6 + 14 * i;
        EXPECT_EQ(g[e], entries[i].width);
        EXPECT_EQ(g[e + 1], entries[i].width);
        EXPECT_EQ(g[e + 2], entries[i].colours);
        EXPECT_EQ(g[e + 3], 0);
        EXPECT_EQ(le16(g, e + 4), 1) << "planes";
        EXPECT_EQ(le16(g, e + 6), entries[i].bpp);
        EXPECT_EQ(le32(g, e + 8), entries[i].bytes);
        EXPECT_EQ(le16(g, e + 12), entries[i].id);
    }
}

TEST_F(ProductExe, GroupDirectoriesListTheirImages) {
    {
        SCOPED_TRACE("AAA");
        expectGroup(find("#14", "AAA").data, {{48, 0, 8, 3752, 1},
                                              {32, 0, 8, 2216, 2},
                                              {16, 0, 8, 1384, 3},
                                              {48, 0, 32, 9640, 4},
                                              {32, 0, 32, 4264, 5},
                                              {16, 0, 32, 1128, 6}});
    }
    {
        SCOPED_TRACE("ZZZ");
        expectGroup(find("#14", "ZZZ").data, {{16, 0, 32, 1128, 7}});
    }
    {
        SCOPED_TRACE("group 1");
        expectGroup(find("#14", "#1").data,
                    {{32, 2, 1, 304, 30001}, {32, 16, 4, 744, 30002}, {16, 16, 4, 296, 30003}});
    }
}

// One node of a version record: length, value length, type, key, value, children.
struct VersionNode {
    std::string key;
    std::size_t value, valueLength, end, children;
};

VersionNode versionNode(const Bytes& b, std::size_t at) {
    VersionNode n;
    n.end = at + le16(b, at);
    n.valueLength = le16(b, at + 2);
    std::size_t p = at + 6;
    for (; le16(b, p) != 0; p += 2) n.key += char(le16(b, p));
    n.value = (p + 2 + 3) & ~std::size_t(3);
    bool text = le16(b, at + 4) == 1;
    n.children = (n.value + n.valueLength * (text ? 2 : 1) + 3) & ~std::size_t(3);
    return n;
}

std::vector<VersionNode> versionChildren(const Bytes& b, const VersionNode& parent) {
    std::vector<VersionNode> out;
    for (std::size_t at = parent.children; at < parent.end; at = (out.back().end + 3) & ~std::size_t(3))
        out.push_back(versionNode(b, at));
    return out;
}

std::string utf16Text(const Bytes& b, std::size_t at, std::size_t end) {
    std::string s;
    for (; at + 1 < end && le16(b, at) != 0; at += 2) s += char(le16(b, at));
    return s;
}

TEST_F(ProductExe, VersionRecordHasTheFixedValuesStringsAndTranslation) {
    const Bytes& v = find("#16", "#1").data;
    VersionNode root = versionNode(v, 0);
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_EQ(root.valueLength, 52u);
    const std::uint32_t fixed[13] = {0xFEEF04BD, 0x00010000, 0x00010001, 0, 0x00010001, 0, 0, 0, 4, 1, 0, 0, 0};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(le32(v, root.value + 4 * i), fixed[i]) << "fixed field " << i;

    auto blocks = versionChildren(v, root);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].key, "StringFileInfo");
    EXPECT_EQ(blocks[1].key, "VarFileInfo");

    auto tables = versionChildren(v, blocks[0]);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].key, "040904B0");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"CompanyName", BRISVANE_MAKER},
        {"FileDescription", "Recover your last 5 digits of Microsoft Office 2013 & 2016!"},
        {"LegalCopyright", BRISVANE_MAKER},
        {"ProductName", "Brisvane [Office 2013 & 2016 Edition: Last 5 Digits]"},
        {"FileVersion", "1.01"},
        {"ProductVersion", "1.01"},
        {"InternalName", "Pellmorvaine"},
        {"OriginalFilename", "Pellmorvaine.exe"},
    };
    std::vector<std::pair<std::string, std::string>> actual;
    for (const auto& s : versionChildren(v, tables[0])) actual.emplace_back(s.key, utf16Text(v, s.value, s.end));
    EXPECT_EQ(actual, expected);

    auto vars = versionChildren(v, blocks[1]);
    ASSERT_EQ(vars.size(), 1u);
    EXPECT_EQ(vars[0].key, "Translation");
    ASSERT_EQ(vars[0].valueLength, 4u);
    EXPECT_EQ(le16(v, vars[0].value), 0x0409);
    EXPECT_EQ(le16(v, vars[0].value + 2), 0x04B0);
}

TEST_F(ProductExe, ManifestIsTheCommittedFile) {
    EXPECT_EQ(find("#24", "#1").data, readFile(sourceDir() + "/res/Pellmorvaine.manifest"));
}

TEST(ManifestFile, IsTheCommonControlsBindingInItsExactBytes) {
    Bytes m = readFile(sourceDir() + "/res/Pellmorvaine.manifest");
    ASSERT_EQ(m.size(), 492u);
    std::string s(m.begin(), m.end());
    EXPECT_EQ(s.substr(0, 3), "\xEF\xBB\xBF");
    for (std::size_t i = 1; i < s.size(); ++i) EXPECT_FALSE(s[i] == '\n' && s[i - 1] != '\r') << "bare LF at " << i;
    EXPECT_EQ(s.substr(s.size() - 13), "</assembly>  ");
    for (const char* part :
         {"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>",
          "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">", "type=\"win32\"",
          "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"", "processorArchitecture=\"X86\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""})
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
