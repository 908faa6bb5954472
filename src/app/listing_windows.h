// The two windows over the program image that the Tools menu opens without waiting: the
// rewritable-word search with its listing, and the memory-usage picture.
#pragma once

#include <QString>

namespace tavrin {

class frmMain;
struct Session;
class SettingsStore;

void wireListingWindows(frmMain& window, Session& session, SettingsStore& settings,
                        const QString& dataDir);

} // namespace tavrin
