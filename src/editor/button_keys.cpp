#include "editor/button_keys.h"

#include <QAbstractButton>

namespace holvan::editor {

QString WithKeys(const QString& what, const QKeySequence& keys) {
  if (keys.isEmpty()) return what;
  return what + QStringLiteral("（") + keys.toString(QKeySequence::NativeText) +
         QStringLiteral("）");
}

void Describe(QAbstractButton* button, const QString& what,
              const QKeySequence& keys) {
  const QString text = WithKeys(what, keys);
  button->setToolTip(text);
  button->setAccessibleDescription(text);
}

}  // namespace holvan::editor
