#pragma once

#include <QUrl>

namespace holvan {

/// The support page shipped with the program: beside the installed program
/// in its data folder, or in the source tree when run from the build folder.
/// Empty when neither is there.
QUrl SupportPageUrl();

/// Opens the support page in the default browser. A page that cannot be
/// opened is passed over in silence.
void OpenSupportPage();

}  // namespace holvan
