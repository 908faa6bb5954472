// The per-area procedures of the device modules, put where the extended-programming window finds
// them by device name.
#pragma once

namespace tavrin {

struct OperationEnvironment;

void registerAreaProcedures(OperationEnvironment& env);

} // namespace tavrin
