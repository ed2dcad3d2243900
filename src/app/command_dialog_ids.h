#pragma once
// Control ids of the logging window's own dialogs (New Line, New Station,
// Comment, Audio Options, Coordinates Display Units).

#define QUELOR_NEWLINE_NAME_ID 2101
#define QUELOR_NEWLINE_START_ID 2102
#define QUELOR_NEWLINE_DIRECTION_ID 2103
#define QUELOR_NEWLINE_INCREMENT_ID 2104
#define QUELOR_NEWSTATION_STATION_ID 2111
#define QUELOR_COMMENT_TEXT_ID 2121
#define QUELOR_AUDIO_TICKS_ID 2131
#define QUELOR_AUDIO_ALARM_ID 2132
#define QUELOR_AUDIO_GPS_WARNING_ID 2133
#define QUELOR_COORDINATES_FIRST_ID 2141 /* 2141..2144: Geodetic .. UTM US Feet */
