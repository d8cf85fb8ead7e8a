#pragma once

class QWidget;

// Letters shown in brackets after a control's text, "（O）" or "(O)": Alt
// with the letter reaches the control as an & mnemonic would, and the texts
// stay as they are. A button is pressed (a radio button chosen); a label
// hands the keyboard to its buddy.
namespace HintKeys {

// Binds the hints of the window's buttons and labels, replacing the ones
// bound before (call it again after a language change).
void bind(QWidget *window);

} // namespace HintKeys
