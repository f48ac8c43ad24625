#pragma once
// The program's icon, shown by the main window and the About box.
#include <QIcon>

namespace propdesk {

QIcon AppIcon();

}  // namespace propdesk
