#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace holvan {

/// The top left corner for a frame of frame_size wanted at wanted: wanted
/// itself when the frame lies whole in available, else the nearest corner at
/// which it does. A frame larger than available keeps its top left in it.
QPoint WholePosition(QPoint wanted, QSize frame_size, const QRect& available);

/// Puts the window's frame at wanted, or at the nearest place where it is
/// whole on the available area of the screen under wanted; and once more when
/// the window manager has framed the shown window and its frame is known.
void PlaceWhole(QWidget* window, QPoint wanted);

}  // namespace holvan
