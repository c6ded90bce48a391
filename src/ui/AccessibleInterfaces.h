// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kdr {

// What assistive tools are told about the window's own kinds of control, where
// Qt's general answer would mislead a screen reader:
// - the window is a frame named by its title (Qt calls a plain top-level widget a
//   filler);
// - the status box is a status bar named "STATUS", whose text is what it shows;
// - the port chooser is named by its caption, with the port as its value (Qt
//   names an editable combo box by its text on Linux).
// Installed once per application; installing again changes nothing.
void installAccessibleInterfaces();

} // namespace kdr
