#pragma once

#include <QMessageBox>
#include <QWidget>

#include "text/narrow_text.h"

namespace holvan {

/// A modal box with text, caption and icon, and OK. Returns when dismissed.
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const NarrowText& caption,
             const NarrowText& text);
/// The same with texts that are no stored text (a path).
void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
             const QString& text);

}  // namespace holvan
