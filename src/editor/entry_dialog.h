#pragma once

#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace holvan::editor {

/// A field of the dialog: its label and the text it starts with.
struct Field {
  QString label;
  QString text;
};

/// Asks for the texts of fields in a modal dialog titled title (object name
/// "entry_dialog", fields "field_1", "field_2"...). On OK, apply gets the
/// texts typed, one line each; while it fails (it shows why, over the dialog)
/// the dialog stays open with them. Returns whether apply succeeded; false
/// when cancelled.
bool AskTexts(QWidget* parent, const QString& title, std::vector<Field> fields,
              const std::function<bool(const std::vector<QString>&)>& apply);

}  // namespace holvan::editor
