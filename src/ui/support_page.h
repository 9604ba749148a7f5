#pragma once

#include <QUrl>

namespace holvan {

/// The support page shipped with the program: the help page, else the
/// window's own placeholder; beside the installed program in its data folder,
/// or in the source tree when run from the build folder. Empty when none is
/// there.
QUrl SupportPageUrl();

/// Opens the support page in the default browser. A page that cannot be
/// opened is passed over in silence.
void OpenSupportPageInBrowser();

}  // namespace holvan
