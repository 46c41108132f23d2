#include <gtest/gtest.h>

#include "capture/decoder.h"
#include "capture_fakes.h"
#include "tests/shared/capture_decoder_property.h"

namespace brisvane::test {
namespace {

struct Stream {
  const char* name;
  std::string bytes;
};

// Every way to cut the stream in two or three pieces decodes as the whole.
void ExpectEveryCutDecodesWhole(const CodePage& cp, const Stream& s) {
  const std::wstring whole = DecodeWhole(cp, s.bytes);
  const std::size_t n = s.bytes.size();
  for (std::size_t i = 0; i <= n; ++i) {
    ASSERT_EQ(DecodeInPieces(cp, s.bytes, {i}), whole) << s.name << " cut at " << i;
    for (std::size_t j = i; j <= n; ++j) {
      ASSERT_EQ(DecodeInPieces(cp, s.bytes, {i, j - i}), whole)
          << s.name << " cut at " << i << ", " << j;
    }
  }
}

TEST(CaptureDecoder, DoubleByteCharactersSurviveEveryCut) {
  FakeDbcsCodePage cp;
  const Stream streams[] = {
      {"pairs between single bytes",
       "a\x81\x41"
       "b\x9F\xFC\xE0\x40z"},
      {"lead byte as trail byte", "\x81\x81\x81\x81\x81"},
      {"lead byte before NUL", std::string("x\x81\0\x82y", 5)},
      {"lead byte at the very end", "ab\x81"},
      {"trail byte that is also a single byte",
       "\x81"
       "A\x41\x81"
       "B"},
  };
  for (const Stream& s : streams) ExpectEveryCutDecodesWhole(cp, s);
}

TEST(CaptureDecoder, Utf8SequencesSurviveEveryCut) {
  FakeUtf8CodePage cp;
  const Stream streams[] = {
      {"two, three and four bytes",
       "a\xC3\xA9"
       "b\xE2\x82\xAC"
       "c\xF0\x9F\x98\x80"
       "d"},
      {"overlong and surrogate starts", "\xE0\x80\xAF\xED\xA0\x80\xF0\x80\x80\x80"},
      {"lead bytes that cannot start", "\xC0\xAF\xC1\xF5\x80\xFF"},
      {"lone and extra continuation bytes", "\x80\xC3\xA9\xA9\xBF"},
      {"unfinished then new lead",
       "\xE2\x82\xC3\xA9\xF0\x9F\x98"
       "A"},
      {"unfinished at the very end", "x\xF0\x9F\x98"},
      {"NUL inside a sequence", std::string("\xE2\0\x82\xAC", 4)},
  };
  for (const Stream& s : streams) ExpectEveryCutDecodesWhole(cp, s);
}

TEST(CaptureDecoder, KeepsOnlyAnUnfinishedCharacter) {
  FakeDbcsCodePage dbcs;
  StreamDecoder d(dbcs);
  EXPECT_EQ(d.Feed("ab\x81", 3), L"ab");
  EXPECT_TRUE(d.HasCarry());
  EXPECT_EQ(d.Feed("\x41", 1), std::wstring(1, static_cast<wchar_t>(0x4000 + 0x8141)));
  EXPECT_FALSE(d.HasCarry());

  FakeUtf8CodePage utf8;
  StreamDecoder u(utf8);
  EXPECT_EQ(u.Feed("\xF0", 1), L"");
  EXPECT_EQ(u.Feed("\x9F", 1), L"");
  EXPECT_EQ(u.Feed("\x98", 1), L"");
  EXPECT_EQ(u.Feed("\x80", 1), L"\xD83D\xDE00");
  // A byte that cannot continue a sequence finishes it, as a replacement.
  EXPECT_EQ(u.Feed("\xE2\x41", 2),
            L"\xFFFD"
            L"A");
  EXPECT_FALSE(u.HasCarry());
  EXPECT_EQ(u.Feed("\xE2\x82", 2), L"");
  EXPECT_EQ(u.Feed("\xE2", 1), L"\xFFFD");
  EXPECT_EQ(u.CarrySize(), 1u);
}

// However the output goes, nothing waits longer than the character it
// belongs to: a megabyte of lead bytes, each finished by the next, comes out
// read by read, with one byte kept between reads.
TEST(CaptureDecoder, AMegabyteOfLeadBytesComesOutReadByReadKeepingOneCharacterAtMost) {
  FakeUtf8CodePage utf8;
  FakeDbcsCodePage dbcs;
  struct Case {
    const CodePage& cp;
    char lead;
    std::size_t read;
  } cases[] = {
      {utf8, '\xE2', 10240}, {utf8, '\xF0', 10240}, {utf8, '\xC3', 10239}, {dbcs, '\x81', 10239}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.lead)));
    StreamDecoder d(c.cp);
    const std::string read(c.read, c.lead);
    std::size_t fed = 0, shown = 0;
    while (fed < (std::size_t{1} << 20)) {
      shown += d.Feed(read.data(), read.size()).size();
      fed += read.size();
      ASSERT_LE(d.CarrySize(), 1u) << "after " << fed << " bytes";
      ASSERT_GE(shown, c.cp.IsUtf8() ? fed - 1 : (fed - 1) / 2) << "held back";
    }
    shown += d.Flush().size();
    EXPECT_EQ(shown, c.cp.IsUtf8() ? fed : (fed + 1) / 2);
  }
}

// UTF-8 as Wine 8 decodes it: a lead byte whose sequence would pass the end
// of the input turns the whole rest into one U+FFFD (F1 DA 41 at the end gives
// one U+FFFD; followed by more bytes, two and an A).
class SwallowingUtf8CodePage : public FakeUtf8CodePage {
 public:
  std::wstring Decode(const char* bytes, std::size_t n) const override {
    for (std::size_t i = n >= 3 ? n - 3 : 0; i < n; ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      const std::size_t need = b >= 0xF0 && b <= 0xF4   ? 4
                               : b >= 0xE0 && b <= 0xEF ? 3
                               : b >= 0xC2 && b <= 0xDF ? 2
                                                        : 1;
      if (i + need > n) return FakeUtf8CodePage::Decode(bytes, i) + L"\xFFFD";
    }
    return FakeUtf8CodePage::Decode(bytes, n);
  }
};

TEST(CaptureDecoder, InvalidSequencesCutByAReadAreNotSwallowed) {
  SwallowingUtf8CodePage cp;
  const Stream streams[] = {
      {"two-byte lead before ASCII", "x\xC3\x41yz"},
      {"three-byte lead before ASCII", "x\xE2\x41yz"},
      {"four-byte lead, valid second byte", "x\xF0\x90\x41yz"},
      {"four-byte lead before another lead", "\xF1\xDA\x41\x42\x43"},
      {"unfinished at the very end", "ab\xE2\x41"},
      {"cut short by the cut before the next lead", "x\xED\xD3\xF1yz"},
      {"a run of lead bytes longer than any carry", std::string(20, '\xE2') + "A\xF0"},
  };
  for (const Stream& s : streams) ExpectEveryCutDecodesWhole(cp, s);
  EXPECT_EQ(FirstPiecewiseMismatch(cp, 3, 5000), "");
}

TEST(CaptureDecoder, FlushShowsWhatIsLeftAtTheEnd) {
  FakeUtf8CodePage utf8;
  StreamDecoder u(utf8);
  EXPECT_EQ(u.Feed("ok\xE2\x82", 4), L"ok");
  EXPECT_EQ(u.Flush(), L"\xFFFD");
  EXPECT_FALSE(u.HasCarry());
  EXPECT_EQ(u.Flush(), L"");
}

TEST(CaptureDecoder, DropsNulsSoTheyHideNothing) {
  FakeDbcsCodePage cp;
  StreamDecoder d(cp);
  EXPECT_EQ(d.Feed(std::string("a\0\0b\0", 5).data(), 5), L"ab");
  EXPECT_EQ(d.Feed(std::string("\0", 1).data(), 1), L"");
  EXPECT_EQ(d.Feed(std::string("\x81\0c", 3).data(), 3), L"?c");
}

}  // namespace
}  // namespace brisvane::test
