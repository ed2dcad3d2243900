#pragma once
// The GPS reader thread: the core GPS reader on the GPS port, its sentences
// handed to the logging window (WM_GPS_POSITION, WM_GPS_GSA, blocking) and
// to the data file through the hooks of reader_shared().

#include <windows.h>

#include "gps/manual_buffers.h"
#include "gps/reader.h"
#include "serial/line_settings.h"

namespace quelor {

struct GpsThreadSetup {
  GpsReaderConfig reader;
  int port_index = 0;          // the GPS port, reopened by the reconnection
  LineSettings line_settings;  // its line settings
};

// The setup of this survey's GPS reader from the settings record.
GpsThreadSetup gps_thread_setup_from_settings();

// Run flag, state and broken mark of the GPS reader.
GpsReaderControl& gps_reader_control();

// The Manual-mode position and GSA copies.
ManualGpsBuffers& manual_gps_buffers();

// Creates the reader thread suspended (run flag set) and keeps its handle in
// reader_shared().gps_thread. nullptr on failure.
HANDLE create_gps_reader(const GpsThreadSetup& setup);
// Resumes it once the logging window is shown.
void resume_gps_reader();
// Clears the run flag: the reader ends within one read time-out.
void stop_gps_reader();

}  // namespace quelor
