#include "qt/colours.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace holvan {
namespace {

const QColor kButtonFace(0xF0, 0xF0, 0xF0);
const QColor kHighlight(0x00, 0x67, 0xC0);
const QColor kGreyText(0x6D, 0x6D, 0x6D);
const QColor kToolTip(0xFF, 0xFF, 0xE1);

}  // namespace

QPalette FixedColours(const QColor& window_colour) {
  const std::pair<QPalette::ColorRole, QColor> roles[] = {
      {QPalette::Window, window_colour},
      {QPalette::WindowText, Qt::black},
      {QPalette::Base, Qt::white},
      {QPalette::AlternateBase, kButtonFace},
      {QPalette::Text, Qt::black},
      {QPalette::PlaceholderText, kGreyText},
      {QPalette::Button, kButtonFace},
      {QPalette::ButtonText, Qt::black},
      {QPalette::BrightText, Qt::white},
      {QPalette::Highlight, kHighlight},
      {QPalette::HighlightedText, Qt::white},
      {QPalette::ToolTipBase, kToolTip},
      {QPalette::ToolTipText, Qt::black},
      {QPalette::Link, QColor(0x00, 0x66, 0xCC)},
      {QPalette::LinkVisited, QColor(0x80, 0x00, 0x80)},
      // The shades that styles draw bevels and frames with.
      {QPalette::Light, Qt::white},
      {QPalette::Midlight, QColor(0xF8, 0xF8, 0xF8)},
      {QPalette::Mid, QColor(0xA0, 0xA0, 0xA0)},
      {QPalette::Dark, QColor(0x69, 0x69, 0x69)},
      {QPalette::Shadow, QColor(0x40, 0x40, 0x40)},
  };
  QPalette colours;
  for (const auto& [role, colour] : roles) colours.setColor(role, colour);
  for (const QPalette::ColorRole role :
       {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    colours.setColor(QPalette::Disabled, role, kGreyText);
  }
  colours.setColor(QPalette::Disabled, QPalette::Base, kButtonFace);
  return colours;
}

QPalette FixedColoursOnBlack() {
  QPalette colours = FixedColours(Qt::black);
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::WindowText, Qt::white);
  }
  colours.setColor(QPalette::Disabled, QPalette::WindowText, kGrey);
  return colours;
}

QPalette GreyFieldColours(QPalette colours) {
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::Base, kGrey);
    colours.setColor(group, QPalette::Text, Qt::black);
    // Styles draw the arrows of the light scroll bars in it: never white.
    colours.setColor(group, QPalette::WindowText, Qt::black);
  }
  return colours;
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& colour) {
    const auto linear = [](double c) {
      return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace holvan
