#pragma once

#include <QColor>
#include <QPalette>

namespace holvan {

/// The contrast ratio of two colours, 1 to 21, by their relative luminance
/// (WCAG 2): text wants at least 4.5, other marks 3.
double ContrastRatio(const QColor& a, const QColor& b);

/// The grey of the Transcript and the version dialog.
inline const QColor kGrey(0x80, 0x80, 0x80);

/// The window's colours, whatever the desktop's theme: window_colour behind
/// the controls, black text on white fields and light grey buttons, white on
/// blue for a selection. Every role of every state is set, each text colour
/// together with the background it is drawn on, so that no colour of a dark
/// theme meets one of these.
QPalette FixedColours(const QColor& window_colour);

/// FixedColours on a black window, with white text on it for labels and
/// tabs.
QPalette FixedColoursOnBlack();

/// colours for a view that shows text on kGrey (no field to type in: those
/// are white, and their hints grey on white): black on grey while enabled,
/// black arrows on its scroll bars, and a selection that looks the same
/// whether or not the view has the focus.
QPalette GreyFieldColours(QPalette colours);

}  // namespace holvan
