#pragma once

class QWidget;

namespace holvan {

/// Makes Shift+F10 in window open the context menu of the control that has
/// the focus, at its caret where it has one, as the Menu key does.
void OpenContextMenusWithShiftF10(QWidget* window);

}  // namespace holvan
