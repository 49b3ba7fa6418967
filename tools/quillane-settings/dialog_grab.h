// Rendering the passphrase and firewall dialogs offscreen into pictures, each in a state that
// shows what it is for (secret fields filled, to show they are masked).
#pragma once

#include <string>

class QWidget;

namespace settings {

// Shows `window` and writes its picture to DIR/<name>.png; false with a message naming the file.
bool SaveWindowPicture(QWidget* window, const std::string& folder, const std::string& name,
                       std::string& error);

// Writes DIR/<name>.png for the dialog `name` of DialogNames() ("all": every one). False with a
// message naming what failed.
bool GrabDialogs(const std::string& name, const std::string& folder, std::string& error);

}  // namespace settings
