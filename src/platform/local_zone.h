#pragma once

namespace platform {

// Makes the C library read the local time zone once for the whole run. Unless TZ names a zone,
// glibc looks at /etc/localtime again before every local-time conversion (a stat each), which
// took most of a walk over rows with distinct times (a day's journal). A zone changed while the
// program runs is seen at its next start. Call first thing in main(), before any thread starts;
// elsewhere (and where TZ is set already) it does nothing.
void readLocalZoneOnce();

}  // namespace platform
