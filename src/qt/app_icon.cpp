#include "qt/app_icon.h"

namespace propdesk {

QIcon AppIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/propdesk-16.png"));
  icon.addFile(QStringLiteral(":/icons/propdesk-32.png"));
  return icon;
}

}  // namespace propdesk
