#include "tests/res/pe_resources.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace restest {

std::uint16_t le16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) throw std::runtime_error("read past end");
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le16(b, at) | std::uint32_t(le16(b, at + 2)) << 16;
}

Bytes readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

namespace {

struct Section {
    std::uint32_t rva, size, raw;
};

class Walker {
public:
    explicit Walker(const Bytes& pe) : pe_(pe) {
        if (le16(pe, 0) != 0x5A4D) throw std::runtime_error("no MZ header");
        std::size_t nt = le32(pe, 0x3C);
        if (le32(pe, nt) != 0x00004550) throw std::runtime_error("no PE signature");
        std::size_t coff = nt + 4, opt = coff + 20;
        unsigned sections = le16(pe, coff + 2), optSize = le16(pe, coff + 16);
        std::size_t dirs = opt + (le16(pe, opt) == 0x20B ? 112 : 96);
        rsrcRva_ = le32(pe, dirs + 2 * 8);
        for (unsigned i = 0; i < sections; ++i) {
            std::size_t s = opt + optSize + i * 40;
            sections_.push_back({le32(pe, s + 12), le32(pe, s + 16), le32(pe, s + 20)});
        }
        if (rsrcRva_ == 0) throw std::runtime_error("no resource directory");
        rsrc_ = offset(rsrcRva_);
    }

    std::vector<Resource> all() {
        std::vector<Resource> out;
        for (auto& [type, typeDir] : entries(rsrc_))
            for (auto& [name, nameDir] : entries(typeDir))
                for (auto& [lang, leaf] : entries(nameDir)) {
                    std::uint32_t rva = le32(pe_, leaf), size = le32(pe_, leaf + 4);
                    std::size_t at = offset(rva);
                    if (at + size > pe_.size()) throw std::runtime_error("resource data past end");
                    out.push_back({type, name, unsigned(std::stoul(lang.substr(1))),
                                   Bytes(pe_.begin() + at, pe_.begin() + at + size)});
                }
        return out;
    }

private:
    std::size_t offset(std::uint32_t rva) const {
        for (const auto& s : sections_)
            if (rva >= s.rva && rva < s.rva + s.size) return rva - s.rva + s.raw;
        throw std::runtime_error("address outside every section");
    }

    std::vector<std::pair<std::string, std::size_t>> entries(std::size_t dir) const {
        std::vector<std::pair<std::string, std::size_t>> out;
        unsigned count = le16(pe_, dir + 12) + le16(pe_, dir + 14);
        for (unsigned i = 0; i < count; ++i) {
            std::uint32_t name = le32(pe_, dir + 16 + i * 8), target = le32(pe_, dir + 20 + i * 8);
            std::string key;
            if (name & 0x80000000u) {
                std::size_t s = rsrc_ + (name & 0x7FFFFFFFu);
                for (unsigned c = 0, n = le16(pe_, s); c < n; ++c) key += char(le16(pe_, s + 2 + 2 * c));
            } else {
                key = "#" + std::to_string(name);
            }
            out.emplace_back(key, rsrc_ + (target & 0x7FFFFFFFu));
        }
        return out;
    }

    const Bytes& pe_;
    std::vector<Section> sections_;
    std::uint32_t rsrcRva_;
    std::size_t rsrc_;
};

int rowBytes(int width, int bpp) { return (width * bpp + 31) / 32 * 4; }

}  // namespace

std::vector<Resource> readResources(const Bytes& pe) { return Walker(pe).all(); }

IconImage::IconImage(Bytes bytes) : b_(std::move(bytes)) {
    if (le32(b_, 0) != 40) throw std::runtime_error("header is not 40 bytes");
    width_ = int(le32(b_, 4));
    height_ = int(le32(b_, 8)) / 2;
    bpp_ = le16(b_, 14);
    if (int(le32(b_, 8)) != 2 * width_ || le16(b_, 12) != 1 || le32(b_, 16) != 0)
        throw std::runtime_error("not a square, one-plane, uncompressed icon image");
}

std::size_t IconImage::expectedSize() const {
    std::size_t table = bpp_ <= 8 ? 4u << bpp_ : 0;
    return 40 + table + std::size_t(rowBytes(width_, bpp_) + rowBytes(width_, 1)) * height_;
}

std::uint32_t IconImage::paletteEntry(int i) const { return le32(b_, 40 + 4 * i) & 0xFFFFFF; }

Pixel IconImage::at(int x, int y) const {
    std::size_t table = bpp_ <= 8 ? 4u << bpp_ : 0;
    std::size_t row = height_ - 1 - y;
    std::size_t xorAt = 40 + table + row * rowBytes(width_, bpp_);
    std::size_t andAt = 40 + table + std::size_t(rowBytes(width_, bpp_)) * height_ + row * rowBytes(width_, 1);
    if (andAt + rowBytes(width_, 1) > b_.size()) throw std::runtime_error("image shorter than its header says");
    bool transparent = b_[andAt + x / 8] & (0x80 >> (x % 8));
    if (bpp_ == 32) {
        std::size_t p = xorAt + 4 * x;
        return {transparent, b_[p + 2], b_[p + 1], b_[p], b_[p + 3]};
    }
    int bit = x * bpp_;
    int index = (b_[xorAt + bit / 8] >> (8 - bpp_ - bit % 8)) & ((1 << bpp_) - 1);
    std::uint32_t c = paletteEntry(index);
    return {transparent, int(c >> 16), int(c >> 8 & 0xFF), int(c & 0xFF), transparent ? 0 : 255};
}

}  // namespace restest
