#pragma once
// The subcommands of the quelor companion tool. Each returns the exit status:
// 0 success, 1 findings (check), 2 bad input.

namespace quelor::tool {

int run_decode(int argc, char** argv);     // quelor decode --instrument NAME [options] [FILE]
int run_nmea(int argc, char** argv);       // quelor nmea --format NAME [options] [FILE]
int run_utm(int argc, char** argv);        // quelor utm LAT LON [--zone N]
int run_check(int argc, char** argv);      // quelor check [--repair] FILE
int run_export(int argc, char** argv);     // quelor export FILE --format NAME [options]
int run_procedure(int argc, char** argv);  // quelor procedure --name NAME [options] [FILE]
int run_keys(int argc, char** argv);       // quelor keys --instrument NAME [options] (--menu | KEY...)
int run_setup(int argc, char** argv);      // quelor setup --program NAME --dialog NAME [entries] [--out FILE]
int run_map(int argc, char** argv);        // quelor map FILE [options]
int run_grid(int argc, char** argv);       // quelor grid FILE [options] --out PATH.tif
int run_report(int argc, char** argv);     // quelor report FILE... --out report.html [options]

}  // namespace quelor::tool
