#include "qt/colours.h"

#include <utility>

namespace holvan {
namespace {

const QColor kButtonFace(0xF0, 0xF0, 0xF0);
const QColor kHighlight(0x00, 0x78, 0xD7);
const QColor kGreyText(0x6D, 0x6D, 0x6D);
const QColor kToolTip(0xFF, 0xFF, 0xE1);
const QColor kPlaceholder(0xE4, 0xE4, 0xE4);

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
    // Light, so that a hint is told apart from black text typed.
    colours.setColor(group, QPalette::PlaceholderText, kPlaceholder);
  }
  return colours;
}

}  // namespace holvan
