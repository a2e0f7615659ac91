// The one settings record of the process.
#include "base/settings.h"

Settings settings;
