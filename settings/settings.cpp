// The one settings record of the process.
#include "settings/settings.h"

Settings settings;
