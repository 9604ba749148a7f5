#pragma once

#include <QIcon>

namespace holvan {

/// The installed desktop entry's name, which also names the icon.
inline constexpr char kDesktopEntryName[] = "io.github.holvan.Holvan";

/// The icon: the installed one from the icon theme, else the copy built into
/// the program, so that a program run from its build folder shows it too.
QIcon HolvanIcon();

/// Names the application "Holvan" and gives its windows the desktop entry
/// (which a Wayland desktop matches by this name, an X11 one by the window's
/// class, "Holvan") and the icon, so that docks and task switchers show them.
void SetDesktopIdentity();

}  // namespace holvan
