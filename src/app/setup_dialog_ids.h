#pragma once
// Resource and control ids of the setup dialog shells and the GPS monitor
// window (kept apart from resource_ids.h; none of them collides with it).

// The note of the setup dialogs that have no controls of their own yet.
#define QUELOR_SETUP_NOTE_ID 1990
// The GPS monitor window's "E&xit" button.
#define QUELOR_GPS_MONITOR_EXIT_ID 753
