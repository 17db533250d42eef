#include "platform/drivewatcher.h"

// The watcher's signal is generated from its header; nothing else is needed here.
