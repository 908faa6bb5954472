// The device modules of every family, added to the operations when they are made.
#pragma once

namespace tavrin {

struct OperationEnvironment;

void registerDeviceModules(OperationEnvironment& env);

} // namespace tavrin
