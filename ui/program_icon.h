// The program's icon on the windows of Tiermark's programs (title bar, taskbar, window switcher).
#pragma once

#include <QIcon>

namespace ui {

// The icon in every size it is drawn in (16 to 256 pixels), from the program's resources.
QIcon programIcon();

// Gives every window of the running application the program's icon. Call once the application exists.
void useProgramIcon();

}  // namespace ui
