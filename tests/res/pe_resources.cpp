#include "tests/res/pe_resources.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace restest {

std::uint16_t Le16(const Bytes& b, std::size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("read past end");
  return std::uint16_t(b[at] | b[at + 1] << 8);
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return Le16(b, at) | std::uint32_t(Le16(b, at + 2)) << 16;
}

Bytes ReadFile(const std::string& path) {
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
    if (Le16(pe, 0) != 0x5A4D) throw std::runtime_error("no MZ header");
    std::size_t nt = Le32(pe, 0x3C);
    if (Le32(pe, nt) != 0x00004550) throw std::runtime_error("no PE signature");
    std::size_t coff = nt + 4, opt = coff + 20;
    unsigned sections = Le16(pe, coff + 2), opt_size = Le16(pe, coff + 16);
    std::size_t dirs = opt + (Le16(pe, opt) == 0x20B ? 112 : 96);
    rsrc_rva_ = Le32(pe, dirs + 2 * 8);
    for (unsigned i = 0; i < sections; ++i) {
      std::size_t s = opt + opt_size + i * 40;
      sections_.push_back({Le32(pe, s + 12), Le32(pe, s + 16), Le32(pe, s + 20)});
    }
    if (rsrc_rva_ == 0) throw std::runtime_error("no resource directory");
    rsrc_ = Offset(rsrc_rva_);
  }

  std::vector<Resource> All() {
    std::vector<Resource> out;
    for (auto& [type, type_dir] : Entries(rsrc_))
      for (auto& [name, name_dir] : Entries(type_dir))
        for (auto& [lang, leaf] : Entries(name_dir)) {
          std::uint32_t rva = Le32(pe_, leaf), size = Le32(pe_, leaf + 4);
          std::size_t at = Offset(rva);
          if (at + size > pe_.size()) throw std::runtime_error("resource data past end");
          out.push_back({type, name, unsigned(std::stoul(lang.substr(1))),
                         Bytes(pe_.begin() + at, pe_.begin() + at + size)});
        }
    return out;
  }

 private:
  std::size_t Offset(std::uint32_t rva) const {
    for (const auto& s : sections_)
      if (rva >= s.rva && rva < s.rva + s.size) return rva - s.rva + s.raw;
    throw std::runtime_error("address outside every section");
  }

  std::vector<std::pair<std::string, std::size_t>> Entries(std::size_t dir) const {
    std::vector<std::pair<std::string, std::size_t>> out;
    unsigned count = Le16(pe_, dir + 12) + Le16(pe_, dir + 14);
    for (unsigned i = 0; i < count; ++i) {
      std::uint32_t name = Le32(pe_, dir + 16 + i * 8), target = Le32(pe_, dir + 20 + i * 8);
      std::string key;
      if (name & 0x80000000u) {
        std::size_t s = rsrc_ + (name & 0x7FFFFFFFu);
        for (unsigned c = 0, n = Le16(pe_, s); c < n; ++c) key += char(Le16(pe_, s + 2 + 2 * c));
      } else {
        key = "#" + std::to_string(name);
      }
      out.emplace_back(key, rsrc_ + (target & 0x7FFFFFFFu));
    }
    return out;
  }

  const Bytes& pe_;
  std::vector<Section> sections_;
  std::uint32_t rsrc_rva_;
  std::size_t rsrc_;
};

int RowBytes(int width, int bpp) { return (width * bpp + 31) / 32 * 4; }

}  // namespace

std::vector<Resource> ReadResources(const Bytes& pe) { return Walker(pe).All(); }

IconImage::IconImage(Bytes bytes) : b_(std::move(bytes)) {
  if (Le32(b_, 0) != 40) throw std::runtime_error("header is not 40 bytes");
  width_ = int(Le32(b_, 4));
  height_ = int(Le32(b_, 8)) / 2;
  bpp_ = Le16(b_, 14);
  if (int(Le32(b_, 8)) != 2 * width_ || Le16(b_, 12) != 1 || Le32(b_, 16) != 0)
    throw std::runtime_error("not a square, one-plane, uncompressed icon image");
}

std::size_t IconImage::ExpectedSize() const {
  std::size_t table = bpp_ <= 8 ? 4u << bpp_ : 0;
  return 40 + table + std::size_t(RowBytes(width_, bpp_) + RowBytes(width_, 1)) * height_;
}

std::uint32_t IconImage::PaletteEntry(int i) const { return Le32(b_, 40 + 4 * i) & 0xFFFFFF; }

Pixel IconImage::At(int x, int y) const {
  std::size_t table = bpp_ <= 8 ? 4u << bpp_ : 0;
  std::size_t row = height_ - 1 - y;
  std::size_t xor_at = 40 + table + row * RowBytes(width_, bpp_);
  std::size_t and_at =
      40 + table + std::size_t(RowBytes(width_, bpp_)) * height_ + row * RowBytes(width_, 1);
  if (and_at + RowBytes(width_, 1) > b_.size())
    throw std::runtime_error("image shorter than its header says");
  bool transparent = b_[and_at + x / 8] & (0x80 >> (x % 8));
  if (bpp_ == 32) {
    std::size_t p = xor_at + 4 * x;
    return {transparent, b_[p + 2], b_[p + 1], b_[p], b_[p + 3]};
  }
  int bit = x * bpp_;
  int index = (b_[xor_at + bit / 8] >> (8 - bpp_ - bit % 8)) & ((1 << bpp_) - 1);
  std::uint32_t c = PaletteEntry(index);
  return {transparent, int(c >> 16), int(c >> 8 & 0xFF), int(c & 0xFF), transparent ? 0 : 255};
}

}  // namespace restest
