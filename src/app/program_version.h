// The program's own version information: title, version numbers, description and comments.
#pragma once

#include "core/about_texts.h"

namespace tavrin {

ProgramVersion programVersion();

} // namespace tavrin
