#pragma once

#include <QWidget>
#include <optional>

#include "errors/error.h"
#include "os/lock_holder.h"

namespace holvan {

/// The box of a start on a folder that another program holds:
/// FolderBusyMessage, caption "Holvan", error icon, OK. Returns when
/// dismissed.
void ShowFolderBusyBox(QWidget* parent,
                       const std::optional<LockHolder>& holder);

/// The box of a start on a folder that cannot be locked:
/// UnlockedStartMessage, caption "Holvan", warning icon, OK. Returns
/// when dismissed.
void ShowUnlockedStartBox(QWidget* parent, const NarrowText& message);

/// The closing box: "終了します　　", caption "確認", question icon, OK.
/// Returns when dismissed.
void ShowClosingBox(QWidget* parent);

}  // namespace holvan
