// Code page 932 conversions: decoding and encoding round trips, the direct
// recoding, and the UTF-8 edges.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/check.h"
#include "text/cp932.h"
#include "text/primitives.h"

namespace {

// Well-formed UTF-8, checked apart from the converter under test: lead bytes
// with the right number of continuation bytes, no overlong form, no surrogate,
// nothing above U+10FFFF.
bool WellFormedUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra;
    uint32_t code;
    if (c < 0x80) {
      extra = 0;
      code = c;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) ||
        (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

bool HasEscapedBytes(const holvan::WideText& wide) {
  for (char16_t unit : wide) {
    if (holvan::IsEscapedByte(unit)) return true;
  }
  return false;
}

// A unit that stands for a stray lead byte of a double-byte character.
bool HasEscapedLeadByte(const holvan::WideText& wide) {
  for (char16_t unit : wide) {
    if ((unit >= 0xDC81 && unit <= 0xDC9F) ||
        (unit >= 0xDCE0 && unit <= 0xDCFC)) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace holvan;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const WideText wide = ToWide(bytes);
  HOLVAN_CHECK(wide.size() <= bytes.size());
  HOLVAN_CHECK(static_cast<size_t>(WideLength(bytes)) == wide.size());
  WideText reused = u"stale";
  ToWide(bytes, reused);
  HOLVAN_CHECK(reused == wide);

  // Back to bytes: the same characters, each in its preferred encoding, and
  // the direct recoding agrees.
  const NarrowText back = ToNarrow(wide);
  HOLVAN_CHECK(back == Recoded(bytes));
  if (!HasEscapedLeadByte(wide)) {
    HOLVAN_CHECK(ToWide(back) == wide);
    HOLVAN_CHECK(Recoded(back) == back);
  } else {
    // A stray lead byte can pair with the first byte of the next character
    // once that character takes its preferred encoding (81 then FA 54, which
    // becomes 81 CA, reads back as 81 81 CA); the text can only get shorter.
    HOLVAN_CHECK(ToWide(back).size() <= wide.size());
  }

  // Any UTF-16 (the input taken as units) encodes to bytes that decode
  // without an escaped byte, unless the units were escaped bytes themselves.
  WideText units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  const NarrowText encoded = ToNarrow(units);
  if (!HasEscapedBytes(units)) HOLVAN_CHECK(!HasEscapedBytes(ToWide(encoded)));
  HOLVAN_CHECK(ToWide(encoded).size() <= units.size());

  // UTF-8 on the way out is always valid; on the way back it gives the same
  // text when nothing was escaped.
  const std::string utf8 = NarrowToUtf8(bytes);
  HOLVAN_CHECK(WellFormedUtf8(utf8));
  if (!HasEscapedBytes(wide)) HOLVAN_CHECK(Utf8ToNarrow(utf8) == back);
  // Whatever arrives from outside becomes valid code page 932.
  HOLVAN_CHECK(!HasEscapedBytes(ToWide(Utf8ToNarrow(bytes))));

  // A character search lands on a whole character of the wide form.
  const ByteRange at = FindCharacterIn(bytes, u"＝*\xDC81");
  if (at.length > 0) {
    HOLVAN_CHECK(at.begin + at.length <= bytes.size());
    const WideText found = ToWide(bytes.substr(at.begin, at.length));
    HOLVAN_CHECK(found.size() == 1);
    HOLVAN_CHECK(found == u"＝" || found == u"*" || found == u"\xDC81");
    HOLVAN_CHECK(ToWide(bytes.substr(0, at.begin)).size() +
                     ToWide(bytes.substr(at.begin)).size() ==
                 wide.size());
  } else {
    HOLVAN_CHECK(wide.find_first_of(u"＝*\xDC81") == WideText::npos);
  }
  return 0;
}
