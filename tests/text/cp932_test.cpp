#include "text/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <random>

#include "support/temp_dir.h"

namespace holvan {
namespace {

using testing::Sj;

// glibc's own answer for one conversion, or nothing when it rejects the input
// as a whole.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  std::optional<std::string> Convert(std::string_view input) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string in(input);
    char out[16];
    char* in_ptr = in.data();
    size_t in_left = in.size();
    char* out_ptr = out;
    size_t out_left = sizeof out;
    if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) ==
            static_cast<size_t>(-1) ||
        in_left != 0) {
      return std::nullopt;
    }
    return std::string(out, out_ptr);
  }

 private:
  iconv_t cd_;
};

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

char16_t UnitOf(const std::string& le) {
  return static_cast<char16_t>(static_cast<uint8_t>(le[0]) |
                               static_cast<uint8_t>(le[1]) << 8);
}

TEST(Cp932Test, EveryCharacterIconvAcceptsRoundTrips) {
  Iconv decode("UTF-16LE", "CP932");
  Iconv encode("CP932", "UTF-16LE");
  ASSERT_TRUE(decode.ok() && encode.ok());
  int characters = 0;
  for (int b = 0; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    std::optional<std::string> unit = decode.Convert(one);
    WideText wide = ToWide(one);
    ASSERT_EQ(wide.size(), 1u) << b;
    if (unit && unit->size() == 2) {
      EXPECT_EQ(wide[0], UnitOf(*unit)) << b;
      ++characters;
    } else {
      EXPECT_EQ(wide[0], EscapedByte(static_cast<unsigned char>(b))) << b;
      EXPECT_GE(b, 0x80);
    }
    EXPECT_EQ(ToNarrow(wide), one) << b;
  }
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      std::string pair = Bytes({lead, trail});
      WideText wide = ToWide(pair);
      std::optional<std::string> unit = decode.Convert(pair);
      if (!unit || unit->size() != 2) {
        // Not one character: each byte stands for itself.
        ASSERT_EQ(wide.size(), 2u) << lead << " " << trail;
        continue;
      }
      ASSERT_EQ(wide, WideText(1, UnitOf(*unit))) << lead << " " << trail;
      ++characters;
      // The code page's preferred code comes back; any other code of the
      // same character gives the preferred one.
      std::optional<std::string> preferred = encode.Convert(*unit);
      ASSERT_TRUE(preferred.has_value()) << lead << " " << trail;
      EXPECT_EQ(ToNarrow(wide), *preferred) << lead << " " << trail;
      EXPECT_EQ(ToWide(*preferred), wide);
    }
  }
  EXPECT_GT(characters, 7000);
}

// No unit, a lone surrogate neither, becomes more than two bytes: the
// question's topic is found unit by unit on that.
TEST(Cp932Test, EveryUnitEncodesAsIconvDoesOrAsGeta) {
  Iconv encode("CP932", "UTF-16LE");
  ASSERT_TRUE(encode.ok());
  for (uint32_t u = 1; u < 0x10000; ++u) {
    const NarrowText narrow = ToNarrow(WideText(1, static_cast<char16_t>(u)));
    EXPECT_LE(narrow.size(), 2u) << std::hex << u;
    if (u >= 0xD800 && u < 0xE000) continue;
    std::string le =
        Bytes({static_cast<int>(u & 0xFF), static_cast<int>(u >> 8)});
    std::optional<std::string> expected = encode.Convert(le);
    EXPECT_EQ(narrow, expected ? *expected : Sj("〓")) << std::hex << u;
  }
}

TEST(Cp932Test, PreferredCodesAndDuplicates) {
  EXPECT_EQ(ToNarrow(u"\u7E8A"), Bytes({0xFA, 0x5C}));
  // The NEC-selected copy of the same kanji converts to the preferred code.
  EXPECT_EQ(ToWide(Bytes({0xED, 0x40})), u"\u7E8A");
  EXPECT_EQ(ToNarrow(ToWide(Bytes({0xED, 0x40}))), Bytes({0xFA, 0x5C}));
  EXPECT_EQ(ToNarrow(u"\u2235"), Bytes({0x81, 0xE6}));  // ∵
  EXPECT_EQ(ToNarrow(u"\u2160"), Bytes({0x87, 0x54}));  // Ⅰ
  EXPECT_EQ(ToNarrow(u"\uFFE2"), Bytes({0x81, 0xCA}));  // ￢
  // Text typed on this system uses the JIS forms of these.
  EXPECT_EQ(Sj("〜"), Bytes({0x81, 0x60}));
  EXPECT_EQ(Sj("−"), Bytes({0x81, 0x7C}));
  EXPECT_EQ(Sj("¥"), "\\");
}

TEST(Cp932Test, LookAlikesAreTheCharactersStoredAsOthers) {
  EXPECT_EQ(
      LookAlikesIn("波〜¥−〜∵纊 ok"),
      (std::vector<LookAlike>{
          {U'\u301C', u'\uFF5E'}, {U'\u00A5', u'\\'}, {U'\u2212', u'\uFF0D'}}));
  // Characters the code page holds, lacks without a look-alike, or bytes
  // that are no UTF-8.
  EXPECT_TRUE(LookAlikesIn("～\\ok\x80\xC3 😀한").empty());
  EXPECT_EQ(Utf8Of(U'\u301C'), "〜");
  EXPECT_EQ(Utf8Of(U'\U0001F600'), "😀");
}

TEST(Cp932Test, InvalidBytesSurviveEverySliceAndJoin) {
  EXPECT_EQ(ToWide(Bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF})),
            (WideText{0xDC80, 0xDCA0, 0xDCFD, 0xDCFE, 0xDCFF}));
  // A lead byte without a valid trail is one unit; what follows stands alone.
  EXPECT_EQ(ToWide(Bytes({0x82, 'A'})), (WideText{0xDC82, u'A'}));
  EXPECT_EQ(ToWide(Bytes({'a', 0x82})), (WideText{u'a', 0xDC82}));
  EXPECT_EQ(ToWide(Bytes({0x82, 0x7F, 0xA1})),
            (WideText{0xDC82, 0x7F, 0xFF61}));
  EXPECT_EQ(ToWide(""), WideText());

  const std::vector<std::string> pieces = {"a",
                                           "\r\n",
                                           Sj("漢"),
                                           Sj("ｱ"),
                                           Bytes({0x80}),
                                           Bytes({0xA0}),
                                           Bytes({0xFF}),
                                           Bytes({0x82}),
                                           Bytes({0x85, 0x40}),
                                           Bytes({0x81, 0x7F}),
                                           std::string(1, '\0'),
                                           Sj("〓")};
  std::mt19937 generator(12345);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    int length = static_cast<int>(generator() % 12);
    for (int k = 0; k < length; ++k)
      text += pieces[generator() % pieces.size()];
    WideText wide = ToWide(text);
    ASSERT_EQ(ToNarrow(wide), text);
    ASSERT_EQ(UnitCount(text), wide.size());
    ASSERT_FALSE(NarrowsTo(wide, text + "a"));
    for (size_t cut = 0; cut <= wide.size(); ++cut) {
      const NarrowText head = ToNarrow(wide.substr(0, cut));
      ASSERT_EQ(head + ToNarrow(wide.substr(cut)), text);
      ASSERT_TRUE(NarrowsTo(wide.substr(0, cut), head));
      ASSERT_EQ(NarrowsTo(wide, head), head == text);
    }
  }
}

TEST(Cp932Test, CharactersTheCodePageLacksBecomeGeta) {
  // A surrogate pair is one character, a lone surrogate one too.
  EXPECT_TRUE(NarrowsTo(WideText{u'a', 0xD83D, 0xDE00}, Sj("a〓")));
  EXPECT_TRUE(NarrowsTo(WideText{0xD800, u'a', 0xDC00}, Sj("〓a〓")));

  const NarrowText geta = Bytes({0x81, 0xAC});
  EXPECT_EQ(ToNarrow(u"\U0001F600"), geta);  // one character, one mark
  EXPECT_EQ(ToNarrow(u"a\U0001F600b"), "a" + geta + "b");
  EXPECT_EQ(ToNarrow(u"\uAC00"), geta);  // hangul
  EXPECT_EQ(ToNarrow(u"\u4E02"), geta);  // a kanji outside the code page
  EXPECT_EQ(ToNarrow(WideText{0xD800}), geta);
  EXPECT_EQ(ToNarrow(WideText{0xD800, u'x'}), geta + "x");
  EXPECT_EQ(ToNarrow(WideText{0xDC00}), geta);
  EXPECT_EQ(ToNarrow(WideText{0xDC7F}), geta);
  EXPECT_EQ(ToNarrow(WideText{0xDD00}), geta);
  EXPECT_EQ(ToNarrow(WideText{0xDFFF}), geta);
  EXPECT_EQ(ToNarrow(WideText{0xDC80, 0xDCFF}), Bytes({0x80, 0xFF}));
  EXPECT_EQ(ToNarrow(WideText(1, u'\0')), std::string(1, '\0'));
  EXPECT_EQ(ToNarrow(u"?"), "?");
  EXPECT_EQ(Sj("😀한"), geta + geta);
}

TEST(Cp932Test, Utf8ConversionsGiveGetaForWhatTheyCannotCarry) {
  const NarrowText geta = Bytes({0x81, 0xAC});
  EXPECT_EQ(Utf8ToNarrow("話す ok"), Bytes({0x98, 0x62, 0x82, 0xB7}) + " ok");
  // Bytes that are not UTF-8: a stray continuation, a lone lead, a
  // truncated sequence, an encoded surrogate, an overlong form.
  EXPECT_EQ(Utf8ToNarrow("\x80"), geta);
  EXPECT_EQ(Utf8ToNarrow("a\xC3"), "a" + geta);
  EXPECT_EQ(Utf8ToNarrow("\xE3\x81z"), geta + "z");
  EXPECT_EQ(Utf8ToNarrow("\xED\xA0\x80"), geta + geta + geta);
  EXPECT_EQ(Utf8ToNarrow("\xC0\xAF"), geta + geta);
  EXPECT_EQ(Utf8ToNarrow("\xF0\x9F\x98\x80"), geta);
  // Never a zero byte: U+10000 is no 16-bit unit (cut to one it would be
  // U+0000), and E0 80 80 is an overlong U+0000.
  EXPECT_EQ(Utf8ToNarrow("a\xF0\x90\x80\x80"), "a" + geta);
  EXPECT_EQ(Utf8ToNarrow("\xE0\x80\x80"
                         "b"),
            geta + geta + geta + "b");

  EXPECT_EQ(NarrowToUtf8(Sj("平成12年 ｱ")), "平成12年 ｱ");
  EXPECT_EQ(NarrowToUtf8(Bytes({'a', 0x80, 0x82})), "a\uFFFD\uFFFD");
  EXPECT_EQ(NarrowToUtf8(Bytes({0x82, 'A'})), "\uFFFDA");
}

}  // namespace
}  // namespace holvan
