// Draws the program's icon artwork from shapes and writes it out: raw icon
// images and group directories for the resource script, .ico files for people
// and the shell, and the about box's two design images as C++ source.
// Deterministic: the same compiler gives the same bytes, which a test checks.
//
// Usage: icongen <root>   (writes <root>/res/icons/* and <root>/about/design_images.*)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
  int r, g, b;
};

struct Px {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Canvas {
  int size;
  std::vector<Px> px;
  explicit Canvas(int n) : size(n), px(static_cast<std::size_t>(n) * n) {}
  Px& At(int x, int y) { return px[static_cast<std::size_t>(y) * size + x]; }
  const Px& At(int x, int y) const { return px[static_cast<std::size_t>(y) * size + x]; }
  void Fill(int x0, int y0, int x1, int y1, Rgb c) {  // inclusive corners
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        if (x >= 0 && y >= 0 && x < size && y < size)
          At(x, y) = Px{std::uint8_t(c.r), std::uint8_t(c.g), std::uint8_t(c.b), 255};
  }
};

// ---- Shapes as signed distance functions in unit coordinates (0..1, y down).

struct Vec {
  double x, y;
};
using Sdf = std::function<double(Vec)>;
using Paint = std::function<Rgb(Vec)>;

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

Sdf Circle(Vec c, double r) {
  return [=](Vec p) { return Length(p.x - c.x, p.y - c.y) - r; };
}

// Box centred at c with half extents (hx, hy), turned by the angle whose
// cosine and sine are given, rounded by r.
Sdf Box(Vec c, double hx, double hy, double cs = 1, double sn = 0, double r = 0) {
  return [=](Vec p) {
    double dx = p.x - c.x, dy = p.y - c.y;
    double u = std::fabs(dx * cs + dy * sn) - (hx - r);
    double v = std::fabs(-dx * sn + dy * cs) - (hy - r);
    double out = Length(std::fmax(u, 0), std::fmax(v, 0));
    return out + std::fmin(std::fmax(u, v), 0.0) - r;
  };
}

Sdf Unite(std::vector<Sdf> parts) {
  return [=](Vec p) {
    double d = 1e9;
    for (const auto& s : parts) d = std::fmin(d, s(p));
    return d;
  };
}

Sdf Cut(Sdf a, Sdf b) {
  return [=](Vec p) { return std::fmax(a(p), -b(p)); };
}

Sdf Grow(Sdf a, double by) {
  return [=](Vec p) { return a(p) - by; };
}

Paint Solid(Rgb c) {
  return [=](Vec) { return c; };
}

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::fmin(std::fmax(t, 0.0), 1.0);
  return Rgb{int(std::lround(a.r + (b.r - a.r) * t)), int(std::lround(a.g + (b.g - a.g) * t)),
             int(std::lround(a.b + (b.b - a.b) * t))};
}

struct Layer {
  Sdf shape;
  Paint paint;
};

// Supersampled so edges get partial coverage, which 32-bit images keep as alpha.
Canvas Render(const std::vector<Layer>& layers, int size) {
  const int n = 6;
  Canvas c(size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0;
      int hits = 0;
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          Vec p{(x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size};
          const Layer* top = nullptr;
          for (const auto& l : layers)
            if (l.shape(p) < 0) top = &l;
          if (!top) continue;
          Rgb col = top->paint(p);
          r += col.r;
          g += col.g;
          b += col.b;
          ++hits;
        }
      }
      if (hits == 0) continue;
      c.At(x, y) = Px{std::uint8_t(std::lround(r / hits)), std::uint8_t(std::lround(g / hits)),
                      std::uint8_t(std::lround(b / hits)),
                      std::uint8_t(std::lround(255.0 * hits / (n * n)))};
    }
  }
  return c;
}

// An outline stays about one pixel wide at every size.
double OutlineWidth(int size) { return std::fmax(0.03, 1.1 / size); }

Sdf Key(Vec bow, double angle) {
  double cs = std::cos(angle), sn = std::sin(angle);
  auto at = [&](double u, double v) {
    return Vec{bow.x + u * cs - v * sn, bow.y + u * sn + v * cs};
  };
  Sdf ring = Cut(Circle(bow, 0.14), Circle(bow, 0.055));
  Sdf shaft = Box(at(0.34, 0), 0.23, 0.04, cs, sn);
  Sdf tooth1 = Box(at(0.455, 0.075), 0.03, 0.05, cs, sn);
  Sdf tooth2 = Box(at(0.54, 0.065), 0.03, 0.04, cs, sn);
  return Unite({ring, shaft, tooth1, tooth2});
}

void Outlined(std::vector<Layer>& layers, Sdf shape, Paint fill, Rgb edge, int size) {
  layers.push_back({Grow(shape, OutlineWidth(size)), Solid(edge)});
  layers.push_back({shape, fill});
}

Paint DiscShade(Rgb light, Rgb dark) {
  return [=](Vec p) { return Mix(light, dark, (p.x + p.y) * 0.75 - 0.25); };
}

const Rgb kBlueLight{90, 160, 245}, kBlueDark{15, 60, 170}, kNavy{10, 30, 90};

Canvas DrawAaa(int size) {
  const double pi = 3.14159265358979323846;
  std::vector<Layer> l;
  Outlined(l, Circle({0.5, 0.5}, 0.44), DiscShade(kBlueLight, kBlueDark), kNavy, size);
  Outlined(l, Key({0.29, 0.27}, pi / 4), DiscShade({235, 238, 245}, {140, 148, 165}), {70, 75, 90},
           size);
  Outlined(l, Key({0.71, 0.27}, 3 * pi / 4), DiscShade({255, 185, 70}, {225, 110, 10}),
           {120, 55, 0}, size);
  double half = std::fmax(0.12, 2.5 / size);
  Outlined(l, Box({0.05 + half, 0.95 - half}, half, half), Solid({220, 30, 30}), {110, 0, 0}, size);
  return Render(l, size);
}

Canvas DrawZzz(int size) {
  std::vector<Layer> l;
  Outlined(l, Circle({0.5, 0.5}, 0.46), DiscShade(kBlueLight, kBlueDark), kNavy, size);
  l.push_back({Circle({0.5, 0.27}, 0.085), Solid({255, 255, 255})});
  l.push_back({Box({0.5, 0.63}, 0.075, 0.23, 1, 0, 0.02), Solid({255, 255, 255})});
  return Render(l, size);
}

// ---- Pixel art for the small palette images.

const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kCyan{0, 255, 255}, kGrey{128, 128, 128},
    kSilver{192, 192, 192};

void WindowFrame(Canvas& c, int x, int y, int w, int h, int title_rows, Rgb title) {
  c.Fill(x, y, x + w - 1, y + h - 1, kBlack);
  c.Fill(x + 1, y + 1, x + w - 2, y + h - 2, kWhite);
  c.Fill(x + 1, y + 1, x + w - 2, y + title_rows, title);
}

// Stacked windows; a 2-colour image has no cyan, so its title bars are black.
Canvas DrawApp(int size, bool mono) {
  Canvas c(size);
  Rgb title = mono ? kBlack : kCyan;
  if (size == 32) {
    WindowFrame(c, 1, 2, 20, 16, 3, title);
    WindowFrame(c, 6, 8, 20, 16, 3, title);
    WindowFrame(c, 11, 14, 20, 16, 3, title);
  } else {
    WindowFrame(c, 0, 1, 12, 9, 2, title);
    WindowFrame(c, 4, 6, 12, 9, 2, title);
  }
  return c;
}

Canvas DrawAboutIcon() {
  Canvas c(16);
  c.Fill(3, 4, 15, 14, kGrey);
  WindowFrame(c, 1, 2, 13, 11, 2, kCyan);
  return c;
}

// Each part gets a black edge where it borders anything but the palm; later
// parts lie on earlier ones. Thumb and palm are shaded grey on their lower and
// right rims.
Canvas DrawHand() {
  Canvas c(32);
  auto in_px = [](const Sdf& s, int x, int y) { return s(Vec{x + 0.5, y + 0.5}) < 0; };
  Sdf palm = Box({19.5, 28.5}, 7.5, 4.5, 1, 0, 3);
  std::vector<Sdf> parts = {
      Box({11.5, 25}, 4, 2, 0.87, 0.5, 1.8),  // thumb, its end raised
      palm,
      Box({25, 25.5}, 2, 3.5, 1, 0, 1.2),  // folded fingers
      Box({22, 25}, 2, 4, 1, 0, 1.2),
      Box({19, 24.5}, 2, 4.5, 1, 0, 1.2),
      Box({16, 22}, 2, 6, 1, 0, 2),  // index finger, tip at row 16
  };
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Sdf& s = parts[i];
    auto edge = [&](int x, int y) {
      if (!in_px(s, x, y)) return false;
      const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& o : d) {
        int nx = x + o[0], ny = y + o[1];
        if (nx < 0 || ny < 0 || nx > 31 || ny > 31) return true;
        if (!in_px(s, nx, ny) && (i == 1 || !in_px(palm, nx, ny))) return true;
      }
      return false;
    };
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        if (!in_px(s, x, y)) continue;
        Rgb col = kWhite;
        if (edge(x, y))
          col = kBlack;
        else if (i < 2 && (edge(x + 1, y) || edge(x, y + 1)))
          col = kSilver;
        c.Fill(x, y, x, y, col);
      }
  }
  return c;
}

// ---- Palettes and encoding.

std::vector<Rgb> PaletteMono() { return {kBlack, kWhite}; }

std::vector<Rgb> Palette16() {
  return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// The 16 standard colours, then the image's own most frequent colours
// (averaged in 5-bit-per-channel buckets), padded with black.
std::vector<Rgb> Palette256(const Canvas& c) {
  struct Bucket {
    long n = 0, r = 0, g = 0, b = 0;
    int key = 0;
  };
  std::vector<Bucket> buckets(32 * 32 * 32);
  for (const Px& p : c.px) {
    if (p.a < 128) continue;
    int key = (p.r >> 3) << 10 | (p.g >> 3) << 5 | (p.b >> 3);
    Bucket& k = buckets[key];
    k.key = key;
    ++k.n;
    k.r += p.r;
    k.g += p.g;
    k.b += p.b;
  }
  std::stable_sort(buckets.begin(), buckets.end(),
                   [](const Bucket& a, const Bucket& b) { return a.n > b.n; });
  std::vector<Rgb> pal = Palette16();
  for (const Bucket& k : buckets) {
    if (k.n == 0 || pal.size() == 256) break;
    pal.push_back(
        {int((k.r + k.n / 2) / k.n), int((k.g + k.n / 2) / k.n), int((k.b + k.n / 2) / k.n)});
  }
  pal.resize(256, kBlack);
  return pal;
}

int Nearest(const std::vector<Rgb>& pal, const Px& c) {
  int best = 0;
  long best_d = -1;
  for (std::size_t i = 0; i < pal.size(); ++i) {
    long dr = c.r - pal[i].r, dg = c.g - pal[i].g, db = c.b - pal[i].b;
    long d = dr * dr + dg * dg + db * db;
    if (best_d < 0 || d < best_d) {
      best_d = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

void Put16(Bytes& b, unsigned v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, unsigned v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

int RowBytes(int width, int bpp) { return (width * bpp + 31) / 32 * 4; }

// A Windows icon image: header with doubled height, colour table, colour bits
// and the AND mask, rows bottom-up. Pixels under half coverage are transparent.
Bytes Encode(const Canvas& c, int bpp) {
  const int n = c.size;
  std::vector<Rgb> pal = bpp == 1   ? PaletteMono()
                         : bpp == 4 ? Palette16()
                         : bpp == 8 ? Palette256(c)
                                    : std::vector<Rgb>{};
  const int xor_row = RowBytes(n, bpp), and_row = RowBytes(n, 1);
  Bytes b;
  Put32(b, 40);
  Put32(b, n);
  Put32(b, 2 * n);
  Put16(b, 1);
  Put16(b, bpp);
  Put32(b, 0);
  Put32(b, (xor_row + and_row) * n);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 0);
  for (const Rgb& p : pal) {
    b.push_back(std::uint8_t(p.b));
    b.push_back(std::uint8_t(p.g));
    b.push_back(std::uint8_t(p.r));
    b.push_back(0);
  }
  for (int y = n - 1; y >= 0; --y) {
    Bytes row(xor_row, 0);
    for (int x = 0; x < n; ++x) {
      const Px& p = c.At(x, y);
      if (bpp == 32) {
        if (p.a == 0) continue;
        row[x * 4] = p.b;
        row[x * 4 + 1] = p.g;
        row[x * 4 + 2] = p.r;
        row[x * 4 + 3] = p.a;
        continue;
      }
      if (p.a < 128) continue;  // index 0 (black) under a set mask bit shows the screen
      int idx = Nearest(pal, p);
      int bit = x * bpp;
      row[bit / 8] |= std::uint8_t(idx << (8 - bpp - bit % 8));
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  for (int y = n - 1; y >= 0; --y) {
    Bytes row(and_row, 0);
    for (int x = 0; x < n; ++x)
      if (c.At(x, y).a < 128) row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

struct Image {
  int id;
  int size;
  int bpp;
  Bytes bytes;
};

Image MakeImage(int id, const Canvas& c, int bpp) { return Image{id, c.size, bpp, Encode(c, bpp)}; }

// Directory entry fields shared by .ico files and group resources.
void EntryHead(Bytes& b, const Image& im) {
  b.push_back(std::uint8_t(im.size >= 256 ? 0 : im.size));
  b.push_back(std::uint8_t(im.size >= 256 ? 0 : im.size));
  b.push_back(std::uint8_t(im.bpp >= 8 ? 0 : 1 << im.bpp));
  b.push_back(0);
  Put16(b, 1);
  Put16(b, im.bpp);
  Put32(b, static_cast<unsigned>(im.bytes.size()));
}

Bytes GroupResource(const std::vector<Image>& ims) {
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(ims.size()));
  for (const auto& im : ims) {
    EntryHead(b, im);
    Put16(b, im.id);
  }
  return b;
}

Bytes IcoFile(const std::vector<Image>& ims) {
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, static_cast<unsigned>(ims.size()));
  unsigned offset = 6 + 16 * static_cast<unsigned>(ims.size());
  for (const auto& im : ims) {
    EntryHead(b, im);
    Put32(b, offset);
    offset += static_cast<unsigned>(im.bytes.size());
  }
  for (const auto& im : ims) b.insert(b.end(), im.bytes.begin(), im.bytes.end());
  return b;
}

void Write(const std::filesystem::path& p, const std::string& data) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!f) throw std::runtime_error("cannot write " + p.string());
}

void Write(const std::filesystem::path& p, const Bytes& data) {
  Write(p, std::string(data.begin(), data.end()));
}

// Aligned because the icon APIs read the image header as DWORDs.
std::string CppArray(const std::string& name, const Bytes& b) {
  std::ostringstream o;
  o << "alignas(4) const unsigned char " << name << "[] = {\n";
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (i % 16 == 0) o << "   ";
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02X,", b[i]);
    o << hex;
    if (i % 16 == 15 || i + 1 == b.size()) o << "\n";
  }
  o << "};\nconst std::size_t " << name << "Size = sizeof " << name << ";\n";
  return o.str();
}

const char* kGenerated = "// Generated by tools/icongen.cpp; do not edit.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: icongen <root>\n";
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::filesystem::path icons = root / "res" / "icons";
  try {
    std::vector<Image> aaa, zzz, app;
    int id = 1;
    for (int bpp : {8, 32})
      for (int size : {48, 32, 16}) aaa.push_back(MakeImage(id++, DrawAaa(size), bpp));
    zzz.push_back(MakeImage(id++, DrawZzz(16), 32));
    app.push_back(MakeImage(30001, DrawApp(32, true), 1));
    app.push_back(MakeImage(30002, DrawApp(32, false), 4));
    app.push_back(MakeImage(30003, DrawApp(16, false), 4));

    for (const auto* group : {&aaa, &zzz, &app})
      for (const auto& im : *group)
        Write(icons / ("icon" + std::to_string(im.id) + ".bin"), im.bytes);
    Write(icons / "AAA.grp", GroupResource(aaa));
    Write(icons / "ZZZ.grp", GroupResource(zzz));
    Write(icons / "app.grp", GroupResource(app));
    Write(icons / "AAA.ico", IcoFile(aaa));
    Write(icons / "ZZZ.ico", IcoFile(zzz));
    Write(icons / "app.ico", IcoFile(app));

    Write(root / "about" / "design_images.h",
          std::string(kGenerated) +
              "// Images of the about box's design, in the layout CreateIconFromResourceEx takes.\n"
              "#pragma once\n\n#include <cstddef>\n\nnamespace brisvane {\n\n"
              "// 16 x 16, 8 bits per pixel: the box's design icon.\n"
              "extern const unsigned char kAboutDesignIcon[];\n"
              "extern const std::size_t kAboutDesignIconSize;\n\n"
              "// 32 x 32, 4 bits per pixel: the link's pointer; the fingertip is at the centre,\n"
              "// where an icon used as a pointer has its hot spot.\n"
              "extern const unsigned char kLinkHandPointer[];\n"
              "extern const std::size_t kLinkHandPointerSize;\n\n}  // namespace brisvane\n");
    Write(root / "about" / "design_images.cpp",
          std::string(kGenerated) +
              "#include \"about/design_images.h\"\n\nnamespace brisvane {\n\n" +
              CppArray("kAboutDesignIcon", Encode(DrawAboutIcon(), 8)) + "\n" +
              CppArray("kLinkHandPointer", Encode(DrawHand(), 4)) + "\n}  // namespace brisvane\n");
  } catch (const std::exception& e) {
    std::cerr << "icongen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
