#pragma once

#include <QUrl>
#include <QWidget>

namespace holvan {

/// The support page shipped with the program: the help page, else the
/// window's own placeholder; beside the installed program in its data folder,
/// or in the source tree when run from the build folder. Empty when none is
/// there.
QUrl SupportPageUrl();

/// Opens the support page in the default browser, through xdg-open. When
/// there is no page, or no browser takes it, a box over parent says so and
/// where the page is.
void OpenSupportPageInBrowser(QWidget* parent);

}  // namespace holvan
