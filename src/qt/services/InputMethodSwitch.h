#pragma once

// Switches the desktop's input method on or off for an editor, where the desktop lets
// a program do so: fcitx5 through its controller on the session bus. With any other
// input method framework (ibus included) or none, nothing happens.

class QWidget;

namespace zentabo {

// Applied once the editor has the focus in an active window (at once when it has):
// the input method acts on the focused window only, and another program's window
// must never be switched.
void SwitchInputMethod(QWidget* editor, bool open);

// Sends the switch to fcitx5 now; false when fcitx5 is not on the session bus.
bool SendInputMethodSwitch(bool open);

}  // namespace zentabo
