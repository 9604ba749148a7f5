#include "qt/context_menu_key.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QShortcut>
#include <QWidget>

namespace holvan {

void OpenContextMenusWithShiftF10(QWidget* window) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), window);
  QObject::connect(shortcut, &QShortcut::activated, window, [window] {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != window) target = window;
    const QRect caret =
        target->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint at = caret.isValid() && target->rect().contains(caret.center())
                          ? caret.center()
                          : target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at,
                            target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
  });
}

}  // namespace holvan
