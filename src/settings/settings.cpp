#include "settings/settings.h"

namespace propdesk {

Settings& GetSettings() {
  static Settings settings;
  return settings;
}

}  // namespace propdesk
