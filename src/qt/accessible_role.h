#pragma once

#include <QAccessible>

class QWidget;

namespace holvan {

/// Makes assistive technologies (screen readers) see widget in role, where
/// its class alone would tell them something vaguer (a top-level QWidget is a
/// "filler" to them, not a window). Set before the widget is shown.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

}  // namespace holvan
