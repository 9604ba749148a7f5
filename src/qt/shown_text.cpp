#include "qt/shown_text.h"

#include "text/cp932.h"

namespace holvan {
namespace {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool IsCrLf(const WideText& wide, std::size_t unit) {
  return wide[unit] == u'\r' && unit + 1 < wide.size() &&
         wide[unit + 1] == u'\n';
}

}  // namespace

QString ShownText(std::string_view bytes) {
  const WideText wide = ToWide(bytes);
  QString shown;
  shown.reserve(static_cast<qsizetype>(wide.size()));
  for (std::size_t unit = 0; unit < wide.size(); ++unit) {
    const char16_t c = wide[unit];
    if (c == u'\r' || c == u'\n') {
      if (IsCrLf(wide, unit)) ++unit;
      shown.append(QChar(u'\n'));
    } else if (c >= kFirstEscape && c <= kLastEscape) {
      shown.append(QChar(QChar::ReplacementCharacter));
    } else {
      shown.append(QChar(c));
    }
  }
  return shown;
}

std::size_t BreakCount(std::string_view bytes) {
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      ++breaks;
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (bytes[i] == '\n') {
      ++breaks;
    }
  }
  return breaks;
}

WideRange WideRangeOfShown(std::string_view bytes, std::size_t begin,
                           std::size_t end) {
  const WideText wide = ToWide(bytes);
  std::size_t unit = 0;
  std::size_t shown = 0;
  WideRange range;
  for (; shown < end && unit < wide.size(); ++shown) {
    if (shown == begin) range.begin = unit;
    unit += IsCrLf(wide, unit) ? 2 : 1;
  }
  if (shown <= begin) range.begin = unit;
  range.length = unit - range.begin;
  return range;
}

NarrowText TypedText(const QString& text) {
  return Utf8ToNarrow(text.toStdString());
}

}  // namespace holvan
