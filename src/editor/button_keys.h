#pragma once

#include <QKeySequence>
#include <QString>

class QAbstractButton;

namespace holvan::editor {

/// what, followed by the keys that do it, as a tooltip shows them.
QString WithKeys(const QString& what, const QKeySequence& keys);

/// Says what the button does, and its keys when it has any, in its tooltip
/// and to screen readers.
void Describe(QAbstractButton* button, const QString& what,
              const QKeySequence& keys = {});

}  // namespace holvan::editor
