// The core services as the program uses them: the device file found at start-up and the HEX
// readers and writers of the application core.
#pragma once

#include "core/app_paths.h"
#include "mainwindow/logic/core_services.h"

namespace tavrin {

CoreServices realCoreServices(const AppPaths& paths);

} // namespace tavrin
