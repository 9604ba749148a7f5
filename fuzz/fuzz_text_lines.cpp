// TextLines against a plain model of its pieces: the loaded text's breaks,
// then Count, Get, Put, Add, Delete and the selection in any order.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/text_lines.h"
#include "support/check.h"
#include "support/scratch_dir.h"

namespace {

using holvan::NarrowText;

// The pieces of a text between CR LF breaks.
std::vector<NarrowText> Pieces(const NarrowText& text) {
  std::vector<NarrowText> pieces;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    if (end == NarrowText::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + 2;
  }
}

NarrowText Join(const std::vector<NarrowText>& pieces) {
  NarrowText text;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += pieces[i];
  }
  return text;
}

int32_t ModelCount(const NarrowText& text) {
  const std::vector<NarrowText> pieces = Pieces(text);
  return static_cast<int32_t>(pieces.size()) - (pieces.back().empty() ? 1 : 0);
}

// A text with every break CR LF and nothing after the first zero byte.
void CheckNormal(std::string_view input, const NarrowText& out) {
  HOLVAN_CHECK(out.find('\0') == NarrowText::npos);
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\r') HOLVAN_CHECK(i + 1 < out.size() && out[i + 1] == '\n');
    if (out[i] == '\n') HOLVAN_CHECK(i > 0 && out[i - 1] == '\r');
  }
  std::string kept_in;
  std::string kept_out;
  for (char c : input.substr(0, input.find('\0'))) {
    if (c != '\r' && c != '\n') kept_in += c;
  }
  for (char c : out) {
    if (c != '\r' && c != '\n') kept_out += c;
  }
  HOLVAN_CHECK(kept_in == kept_out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace holvan;
  FuzzedDataProvider input(data, size);
  const std::string file = input.ConsumeRandomLengthString(4096);

  const NarrowText normal = NormalizeBreaks(file);
  CheckNormal(file, normal);
  HOLVAN_CHECK(NormalizeBreaks(normal) == normal);

  TextLines lines;
  if (input.ConsumeBool()) {
    const fuzz::ScratchDir& dir = fuzz::ScratchDir::Get();
    dir.Write("lines.dat", file);
    lines.LoadFromFile(dir.File("lines.dat"));
    HOLVAN_CHECK(lines.Text() == normal);
    lines.SaveToFile(dir.File("saved.dat"));
    HOLVAN_CHECK(dir.Read("saved.dat") == normal);
  } else {
    lines.SetText(file);
  }

  NarrowText model = lines.Text();
  while (input.remaining_bytes() > 0) {
    const int32_t i = input.ConsumeIntegralInRange<int32_t>(-2, 40);
    const uint8_t op = input.ConsumeIntegralInRange<uint8_t>(0, 5);
    std::vector<NarrowText> pieces = Pieces(model);
    const bool has_piece = i >= 0 && i < static_cast<int32_t>(pieces.size());
    switch (op) {
      case 0: {
        const NarrowText got = lines.Get(i);
        const NarrowText want =
            has_piece ? pieces[i].substr(0, 4096) : NarrowText();
        HOLVAN_CHECK(got == want);
        break;
      }
      case 1: {
        const std::string s = input.ConsumeRandomLengthString(64);
        lines.Put(i, s);
        if (has_piece) {
          pieces[i] = s;
          model = Join(pieces);
        }
        break;
      }
      case 2: {
        const std::string s = input.ConsumeRandomLengthString(64);
        const NarrowText appended = lines.Add(s);
        const bool after_break =
            model.empty() || (model.size() >= 2 &&
                              model.compare(model.size() - 2, 2, "\r\n") == 0);
        const NarrowText want = after_break ? s + "\r\n" : "\r\n" + s;
        HOLVAN_CHECK(appended == want);
        model += want;
        break;
      }
      case 3: {
        const ByteRange removed = lines.Delete(i);
        if (has_piece) {
          size_t begin = 0;
          for (int32_t k = 0; k < i; ++k) begin += pieces[k].size() + 2;
          const bool last = i + 1 == static_cast<int32_t>(pieces.size());
          const size_t length = pieces[i].size() + (last ? 0 : 2);
          HOLVAN_CHECK(removed.begin == begin && removed.length == length);
          model.erase(begin, length);
        } else {
          HOLVAN_CHECK(removed.length == 0);
        }
        break;
      }
      case 4: {
        ByteRange range;
        range.begin = input.ConsumeIntegralInRange<size_t>(0, 300);
        range.length = input.ConsumeIntegralInRange<size_t>(0, 300);
        lines.SetSelection(range);
        const ByteRange clamped = lines.Selection();
        HOLVAN_CHECK(clamped.begin <= model.size());
        HOLVAN_CHECK(clamped.length <= model.size() - clamped.begin);
        const NarrowText selected = lines.SelectedText();
        HOLVAN_CHECK(selected == model.substr(clamped.begin, clamped.length));
        if (input.ConsumeBool()) {
          const ByteRange removed = lines.DeleteSelection();
          HOLVAN_CHECK(removed.begin == clamped.begin &&
                       removed.length == clamped.length);
          model.erase(clamped.begin, clamped.length);
        }
        break;
      }
      default:
        lines.Clear();
        model.clear();
        break;
    }
    HOLVAN_CHECK(lines.Text() == model);
    HOLVAN_CHECK(lines.Count() == ModelCount(model));
  }
  return 0;
}
