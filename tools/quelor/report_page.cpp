#include "report_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "html_text.h"
#include "map/colour_class.h"
#include "map/palette.h"
#include "png_writer.h"
#include "report/remarks.h"
#include "variant/variant.h"

namespace quelor::tool {

namespace {

constexpr PaletteColour kGapRed{220, 0, 0};

const char kStyle[] = R"(
body{font-family:sans-serif;margin:16px;color:#111;max-width:1400px}
h1{font-size:22px;margin:0 0 8px}
h2{font-size:17px;margin:22px 0 6px;border-bottom:1px solid #999}
.verdict{font-size:18px;font-weight:bold;padding:8px;border:2px solid}
.verdict.complete{color:#064;border-color:#064;background:#e6f6ee}
.verdict.incomplete{color:#900;border-color:#900;background:#fbeaea}
table{border-collapse:collapse;font-size:13px}
td,th{border:1px solid #bbb;padding:2px 6px;text-align:right}
td.text,th.text{text-align:left}
td.flag{color:#900;font-weight:bold}
.maps{display:flex;flex-wrap:wrap;gap:20px}
figure{margin:0}
figcaption{font-weight:bold;margin-bottom:4px}
.mapwrap{display:flex;align-items:flex-start;gap:6px}
.mapbox{position:relative;border:1px solid #444}
.mapbox img{display:block}
.mapbox svg{position:absolute;left:0;top:0}
.note{font-size:12px;color:#444;margin:4px 0}
.message{color:#900}
)";

std::string number_text(double v, const char* format) { return std::isfinite(v) ? html_format(format, v) : "-"; }

std::string td(const std::string& text) { return "<td>" + text + "</td>"; }
std::string td_text(const std::string& text) { return "<td class=\"text\">" + html_escape(text) + "</td>"; }

// A length that reads well: 1, 2 or 5 times a power of ten, at most `most`.
double round_length(double most) {
  if (!(most > 0)) return 1.0;
  const double ten = std::pow(10.0, std::floor(std::log10(most)));
  for (double f : {5.0, 2.0, 1.0})
    if (f * ten <= most) return f * ten;
  return ten;
}

std::string north_arrow(int width) {
  const int x = width - 28, y = 12;
  return html_format(
      "<g class=\"north-arrow\"><rect x=\"%d\" y=\"%d\" width=\"24\" height=\"44\" fill=\"white\" opacity=\"0.8\"/>"
      "<polygon points=\"%d,%d %d,%d %d,%d %d,%d\" fill=\"black\"/>"
      "<text x=\"%d\" y=\"%d\" font-size=\"13\" text-anchor=\"middle\" font-weight=\"bold\">N</text></g>",
      x - 2, y - 2, x + 10, y + 16, x + 4, y + 38, x + 10, y + 32, x + 16, y + 38, x + 10, y + 13);
}

// The bar in the survey's own unit: metres, or feet for a survey in feet.
std::string scale_bar(const MapFrameOnPage& f, int width, int height) {
  const double units = round_length(width / 4.0 / f.pixels_per_unit);
  const double length = units * f.pixels_per_unit;
  const int x = 10, y = height - 14;
  const char* symbol = f.metres_per_unit == 1.0 ? "m" : f.metres_per_unit == 0.3048 ? "ft" : "US ft";
  return html_format(
      "<g class=\"scale-bar\"><rect x=\"%d\" y=\"%d\" width=\"%.1f\" height=\"26\" fill=\"white\" opacity=\"0.8\"/>"
      "<rect x=\"%d\" y=\"%d\" width=\"%.1f\" height=\"5\" fill=\"black\"/>"
      "<rect x=\"%d\" y=\"%d\" width=\"%.1f\" height=\"5\" fill=\"white\" stroke=\"black\" stroke-width=\"0.5\"/>"
      "<text x=\"%d\" y=\"%d\" font-size=\"12\">%g %s</text></g>",
      x - 4, y - 18, length + 8, x, y, length / 2, x + static_cast<int>(length / 2), y, length / 2, x, y - 5, units,
      symbol);
}

std::string overlay(const MapOnPage& m, const Coverage& c) {
  const int w = m.image.width, h = m.image.height;
  std::string svg = html_format("<svg width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">", w, h, w, h);
  std::vector<const std::vector<PlanePoint>*> hulls;
  for (const CoverageBlock& b : c.blocks) hulls.push_back(&b.hull);
  if (hulls.empty()) hulls.push_back(&c.hull);
  for (const std::vector<PlanePoint>* hull : hulls) {
    if (hull->size() < 3) continue;
    svg +=
        "<polygon class=\"hull\" fill=\"none\" stroke=\"#333\" stroke-width=\"1\" stroke-dasharray=\"5,4\" points=\"";
    for (const PlanePoint& p : *hull) svg += html_format("%.1f,%.1f ", m.frame.x(p.easting), m.frame.y(p.northing));
    svg += "\"/>";
  }
  for (const std::vector<PlanePoint>& track : m.tracks) {
    // A point where the track has moved two pixels or more: the line stays light on a long day.
    std::string points;
    double last_x = NAN, last_y = NAN;
    std::size_t count = 0;
    for (std::size_t i = 0; i < track.size(); ++i) {
      const double x = m.frame.x(track[i].easting), y = m.frame.y(track[i].northing);
      if (i + 1 < track.size() && std::hypot(x - last_x, y - last_y) < 2.0) continue;
      points += html_format("%.1f,%.1f ", x, y);
      last_x = x;
      last_y = y;
      ++count;
    }
    if (count >= 2)
      svg +=
          "<polyline class=\"track\" fill=\"none\" stroke=\"#000\" stroke-opacity=\"0.6\" stroke-width=\"1\" "
          "points=\"" +
          points + "\"/>";
  }
  for (std::size_t i = 0; i < c.gaps.size() && i < kVerdictGaps; ++i) {
    const CoverageGap& g = c.gaps[i];
    const double x0 = m.frame.x(g.low.easting), x1 = m.frame.x(g.high.easting);
    const double y0 = m.frame.y(g.high.northing), y1 = m.frame.y(g.low.northing);
    svg += html_format(
        "<rect class=\"gap\" x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"#d00\" "
        "stroke-width=\"2\"/><text x=\"%.1f\" y=\"%.1f\" font-size=\"14\" font-weight=\"bold\" fill=\"#d00\" "
        "stroke=\"white\" stroke-width=\"0.6\">%zu</text>",
        x0, y0, x1 - x0, y1 - y0, x1 + 3, y0 + 12, i + 1);
  }
  return svg + north_arrow(w) + scale_bar(m.frame, w, h) + "</svg>";
}

std::string colour_bar(double low, double high, const std::string& title) {
  constexpr int kBox = 5, kTop = 24, kLeft = 4, kWidth = 22;
  const int bottom = kTop + kColourClassCount * kBox;
  std::string svg = html_format("<svg class=\"colour-bar\" width=\"190\" height=\"%d\" viewBox=\"0 0 190 %d\">",
                                bottom + 12, bottom + 12);
  svg += "<text x=\"2\" y=\"14\" font-size=\"11\">" + html_escape(title) + "</text>";
  for (int k = 0; k < kColourClassCount; ++k) {
    const PaletteColour p = palette_colour(k);
    svg += html_format("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"rgb(%d,%d,%d)\"/>", kLeft,
                       bottom - (k + 1) * kBox, kWidth, kBox, p.red, p.green, p.blue);
  }
  svg += html_format("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"black\"/>", kLeft, kTop,
                     kWidth, bottom - kTop);
  for (int q = 0; q <= 4; ++q) {
    const int y = bottom - q * (bottom - kTop) / 4;
    svg += html_format("<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"black\"/>", kLeft + kWidth, y,
                       kLeft + kWidth + 5, y);
    svg += html_format("<text x=\"%d\" y=\"%d\" font-size=\"11\">%.2f</text>", kLeft + kWidth + 8, y + 4,
                       low + (high - low) * q / 4.0);
  }
  return svg + "</svg>";
}

std::string map_figure(const char* id, const MapOnPage& m, const Coverage& c) {
  std::string f =
      html_format("<figure class=\"map\" id=\"%s\"><figcaption>", id) + html_escape(m.title) + "</figcaption>";
  if (m.image.rgb.empty()) return f + "<p class=\"message\">No map: " + html_escape(m.message) + "</p></figure>";
  const int w = m.image.width, h = m.image.height;
  f += "<div class=\"mapwrap\">";
  f += html_format("<div class=\"mapbox\" style=\"width:%dpx;height:%dpx\">", w, h);
  f += html_format("<img alt=\"%s\" width=\"%d\" height=\"%d\" src=\"", html_escape(m.title).c_str(), w, h);
  f += data_uri("image/png", png_bytes(m.image));
  f += "\">" + overlay(m, c) + "</div>";
  if (m.scale) f += colour_bar(m.scale->first, m.scale->second, m.scale_title);
  f += "</div>";
  if (!m.note.empty()) f += "<p class=\"note\">" + html_escape(m.note) + "</p>";
  if (m.map_full) f += "<p class=\"message\">The map was full: part of the survey lies outside it.</p>";
  return f + "</figure>";
}

std::string inputs_section(const std::vector<InputFile>& files, const SurveyData& survey) {
  std::string s =
      "<h2>Inputs</h2><table id=\"inputs\"><tr><th class=\"text\">file</th><th>bytes</th>"
      "<th class=\"text\">instrument</th><th class=\"text\">program</th><th>format</th><th>readings</th></tr>";
  for (const InputFile& f : files) {
    const VariantRow* row = find_variant_row(f.info.variant.instrument_type);
    const ProductNames& names = product_names(f.info.variant);
    s += "<tr>" + td_text(f.name) + td(std::to_string(f.size)) + td_text(row ? std::string(row->instrument) : "?") +
         td_text(std::string(names.program_name) + " " + std::string(names.version)) +
         td(html_escape(f.format_version)) + td(std::to_string(f.readings)) + "</tr>";
  }
  s += "</table>";
  s += "<p class=\"note\">Survey date " + html_escape(survey.date.empty() ? "unknown" : survey.date) +
       "; report made by quelor report from the files above.</p>";
  for (const InputFile& f : files)
    for (const std::string& w : f.warnings) s += "<p class=\"message\">" + html_escape(f.name + ": " + w) + "</p>";
  return s;
}

// The instrument, the program, the settings the page used and when the
// survey was walked, in local time with its zone.
std::string summary_section(const std::vector<InputFile>& files, const ReportContent& c) {
  const VariantRow* row = find_variant_row(files[0].info.variant.instrument_type);
  const ProductNames& names = product_names(files[0].info.variant);
  std::string s = "<p id=\"summary\">" + html_escape(row ? std::string(row->instrument) : "unknown instrument") + ", " +
                  html_escape(std::string(names.program_name) + " " + std::string(names.version)) + ", in " +
                  unit_symbol(files[0].info.map_units) + "; ";
  s += std::isfinite(c.time.first) ? "walked " + clock_text(c.time.first) + " to " + clock_text(c.time.last) +
                                         " local time (" + utc_offset_text(c.time.utc_offset_minutes) + ")"
                                   : std::string("no time marks");
  s += ".</p><p class=\"note\" id=\"settings-summary\">" + html_escape(c.settings_summary) + ".</p>";
  return s;
}

std::string coverage_section(const Coverage& c) {
  std::string s = "<h2>Coverage</h2>";
  if (!c.known) {
    s += "<p id=\"coverage-share\" class=\"message\">Coverage unknown: the files hold no swath outline or no area.</p>";
    return s;
  }
  s += html_format(
      "<p id=\"coverage-share\">%.1f%% of the surveyed area (convex hull of the positioned readings "
      "of each of %zu block%s, %.0f m\xC2\xB2) lies inside the logged swaths (median swath width %.2f m). ",
      100.0 * c.covered_share, c.blocks.size(), c.blocks.size() == 1 ? "" : "s", c.hull_area, c.swath_width);
  s +=
      html_format("%zu uncovered gap%s wide enough to hold a swath.</p>", c.gaps.size(), c.gaps.size() == 1 ? "" : "s");
  if (c.blocks.size() > 1) {
    s += "<table id=\"blocks\"><tr><th>block</th><th>area m\xC2\xB2</th><th>readings</th><th>covered %</th></tr>";
    for (std::size_t i = 0; i < c.blocks.size() && i < 50; ++i)
      s += "<tr>" + td(std::to_string(i + 1)) + td(html_format("%.0f", c.blocks[i].area)) +
           td(std::to_string(c.blocks[i].readings)) + td(html_format("%.1f", 100.0 * c.blocks[i].covered_share)) +
           "</tr>";
    s += "</table>";
  }
  if (c.gaps.empty()) return s;
  s += "<table id=\"gaps\"><tr><th>gap</th><th>width m</th><th>extent m</th><th>area m\xC2\xB2</th><th>easting</th>"
       "<th>northing</th></tr>";
  for (std::size_t i = 0; i < c.gaps.size() && i < 50; ++i) {
    const CoverageGap& g = c.gaps[i];
    s += "<tr>" + td(std::to_string(i + 1)) + td(html_format("%.1f", g.width)) +
         td(html_format("%.1f x %.1f", g.high.easting - g.low.easting, g.high.northing - g.low.northing)) +
         td(html_format("%.0f", g.area)) + td(html_format("%.1f", g.centre.easting)) +
         td(html_format("%.1f", g.centre.northing)) + "</tr>";
  }
  return s + "</table>";
}

// A line's flags in a few words: "fast", "sparse", "GPS below mask",
// "outage hh:mm:ss-hh:mm:ss".
std::string flags_text(const LineFlags& f) {
  std::string t;
  const auto add = [&](const std::string& word) { t += (t.empty() ? "" : ", ") + word; };
  if (f.fast) add("fast");
  if (f.sparse) add("sparse");
  if (f.poor_gps) add(html_format("GPS below mask (%ld of %ld fixes)", f.poor_fixes, f.fixes));
  for (const GpsOutage& o : f.outages) add("outage " + clock_text(o.start) + "-" + clock_text(o.end));
  return t;
}

std::string lines_section(const SurveyData& survey, const std::vector<LineSummary>& lines,
                          const std::vector<LineFlags>& flags) {
  std::string s =
      "<h2>Lines</h2><table id=\"line-table\"><tr><th class=\"text\">line</th><th>length m</th>"
      "<th>readings</th><th>with position</th><th>readings/m</th><th>mean speed m/s</th>"
      "<th>max speed m/s</th><th>start</th><th>end</th><th>minutes</th><th class=\"text\">flags</th></tr>";
  for (const LineSummary& l : lines) {
    const std::size_t i = static_cast<std::size_t>(l.line);
    const std::string flagged = i < flags.size() ? flags_text(flags[i]) : std::string();
    const double minutes = (l.end - l.start) / 60.0;
    s += "<tr>" + td_text(line_label(survey, l.line)) + td(number_text(l.length, "%.1f")) +
         td(std::to_string(l.readings)) + td(std::to_string(l.positioned)) +
         td(l.length > 0 ? number_text(l.readings_per_metre, "%.2f") : "-") + td(number_text(l.mean_speed, "%.2f")) +
         td(number_text(l.max_speed, "%.2f")) + td(clock_text(l.start)) + td(clock_text(l.end)) +
         td(number_text(minutes, "%.1f")) +
         (flagged.empty() ? std::string("<td></td>") : "<td class=\"text flag\">" + html_escape(flagged) + "</td>") +
         "</tr>";
  }
  return s + "</table>";
}

std::string speed_section(const SpeedHistogram& h, const std::string& unit) {
  constexpr int kW = 640, kH = 220, kLeft = 50, kBottom = 30, kTop = 10;
  std::string s = "<h2>Speed</h2>";
  if (!(h.total > 0))
    return s + "<p id=\"speed-histogram\" class=\"message\">No speed: fewer than two timed fixes on a line.</p>";
  const std::size_t bins = h.seconds.size();
  const double most = *std::max_element(h.seconds.begin(), h.seconds.end());
  const double bar = static_cast<double>(kW - kLeft - 10) / static_cast<double>(bins);
  s += html_format("<svg id=\"speed-histogram\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">", kW, kH, kW, kH);
  for (std::size_t i = 0; i < bins; ++i) {
    const double height = most > 0 ? h.seconds[i] / most * (kH - kBottom - kTop) : 0;
    const bool over = i + 1 == bins;
    s += html_format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"%s\"/>", kLeft + i * bar + 1,
                     kH - kBottom - height, bar - 2, height, over ? "#d00" : "#36c");
  }
  const double at_max = kLeft + (bins - 1) * bar;
  s += html_format("<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#d00\" stroke-dasharray=\"4,3\"/>",
                   at_max, kTop, at_max, kH - kBottom);
  s += html_format("<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"black\"/>", kLeft, kH - kBottom, kW - 10,
                   kH - kBottom);
  for (int q = 0; q <= 4; ++q)
    s += html_format("<text x=\"%.1f\" y=\"%d\" font-size=\"11\" text-anchor=\"middle\">%.2f</text>",
                     kLeft + q * (bins - 1) * bar / 4, kH - kBottom + 14, h.maximum * q / 4);
  s += html_format("<text x=\"%.1f\" y=\"%d\" font-size=\"11\" fill=\"#d00\">above the maximum</text>", at_max - 40,
                   kTop + 10);
  s += html_format("<text x=\"%d\" y=\"%d\" font-size=\"11\">%s</text>", kLeft, kH - 2, html_escape(unit).c_str());
  s += html_format("<text x=\"4\" y=\"%d\" font-size=\"11\">%.0f s</text>", kTop + 10, most);
  s += "</svg>";
  s += html_format(
      "<p class=\"note\">Time walked at each speed between fixes, %.0f s in all; %.1f%% above the speed "
      "bar maximum of %.2f %s.</p>",
      h.total, 100.0 * h.above_share(), h.maximum, html_escape(unit).c_str());
  return s;
}

std::string gps_chart(const std::vector<GpsQualityPoint>& points, const char* title,
                      double (*value)(const GpsQualityPoint&)) {
  constexpr int kW = 640, kH = 110, kLeft = 50, kBottom = 18, kTop = 16;
  double low = value(points.front()), high = low;
  for (const GpsQualityPoint& p : points) {
    low = std::min(low, value(p));
    high = std::max(high, value(p));
  }
  if (!(high > low)) high = low + 1;
  const double t0 = points.front().time, t1 = std::max(points.back().time, t0 + 1);
  std::string s =
      html_format("<svg class=\"gps-chart\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">", kW, kH, kW, kH);
  s += html_format("<text x=\"%d\" y=\"12\" font-size=\"12\">%s</text>", kLeft, title);
  // The line breaks where no fix came for longer than a pause step or a few buckets: an outage shows as a gap.
  const double gap = std::max(kLineStepGap, 2.5 * (t1 - t0) / std::max<std::size_t>(points.size(), 1));
  for (std::size_t i = 0; i < points.size(); ++i) {
    const GpsQualityPoint& p = points[i];
    if (i == 0 || p.time - points[i - 1].time > gap)
      s += std::string(i ? "\"/>" : "") + "<polyline fill=\"none\" stroke=\"#36c\" stroke-width=\"1.5\" points=\"";
    s += html_format("%.1f,%.1f ", kLeft + (p.time - t0) / (t1 - t0) * (kW - kLeft - 10),
                     kH - kBottom - (value(p) - low) / (high - low) * (kH - kBottom - kTop));
  }
  s += "\"/>";
  s += html_format("<text x=\"4\" y=\"%d\" font-size=\"11\">%g</text><text x=\"4\" y=\"%d\" font-size=\"11\">%g</text>",
                   kTop + 8, high, kH - kBottom, low);
  // The time at the start, each quarter and the end.
  for (int q = 0; q <= 4; ++q)
    s += html_format("<text x=\"%.1f\" y=\"%d\" font-size=\"11\" text-anchor=\"%s\">%s</text>",
                     kLeft + q * (kW - kLeft - 10) / 4.0, kH - 3,
                     q == 0   ? "start"
                     : q == 4 ? "end"
                              : "middle",
                     clock_text(t0 + q * (t1 - t0) / 4).c_str());
  return s + "</svg>";
}

std::string gps_section(const std::vector<GpsQualityPoint>& points) {
  std::string s = "<h2>GPS quality</h2><div id=\"gps-quality\">";
  if (points.empty()) return s + "<p class=\"message\">No timed GPS fix in the files.</p></div>";
  s += gps_chart(points, "fix quality (lowest)", [](const GpsQualityPoint& p) { return double(p.quality); });
  s += gps_chart(points, "satellites (fewest)", [](const GpsQualityPoint& p) { return double(p.satellites); });
  s += gps_chart(points, "dilution (highest)", [](const GpsQualityPoint& p) { return p.dilution; });
  return s + "</div>";
}

std::string remarks_section(const SurveyData& survey) {
  std::string s = "<h2>Remarks</h2>";
  if (survey.remarks.empty()) return s + "<p id=\"remarks\">No remark in the files.</p>";
  s += "<table id=\"remarks\"><tr><th class=\"text\">kind</th><th>count</th><th>first</th><th>last</th></tr>";
  for (const RemarkGroup& g : remark_groups(survey.remarks))
    s += "<tr>" + td_text(g.meaning) + td(std::to_string(g.count)) + td(clock_text(g.first)) + td(clock_text(g.last)) +
         "</tr>";
  s += html_format("</table><details><summary>every remark (%zu)</summary>", survey.remarks.size());
  s += "<table id=\"remark-list\"><tr><th>time</th><th class=\"text\">file</th><th class=\"text\">record</th>"
       "<th class=\"text\">meaning</th></tr>";
  for (const SurveyRemark& r : survey.remarks)
    s += "<tr>" + td(clock_text(r.time)) + td_text(r.file) + td_text(r.text) +
         td_text(std::string(remark_meaning(r.tag, r.text))) + "</tr>";
  return s + "</table></details>";
}

}  // namespace

const char* unit_symbol(int map_units) {
  static const char* const kSymbols[] = {"m", "ft", "US ft"};
  return kSymbols[std::clamp(map_units, 0, 2)];
}

void hatch_gaps(Raster& image, const MapFrameOnPage& f, const Coverage& c) {
  if (c.gaps.empty() || c.grid.columns == 0) return;
  const CoverageGrid& g = c.grid;
  for (int y = 0; y < image.height; ++y) {
    const double northing = (f.north - (y + 0.5) / f.pixels_per_unit) * f.metres_per_unit;
    const int row = static_cast<int>(std::floor((northing - g.origin.northing) / g.cell));
    if (row < 0 || row >= g.rows) continue;
    for (int x = 0; x < image.width; ++x) {
      if ((x + y) % 6 >= 2) continue;  // diagonal hatching keeps the map readable beneath
      const double easting = (f.west + (x + 0.5) / f.pixels_per_unit) * f.metres_per_unit;
      const int column = static_cast<int>(std::floor((easting - g.origin.easting) / g.cell));
      if (column >= 0 && column < g.columns && g.at(column, row) > 0) image.set(x, y, kGapRed);
    }
  }
}

std::string report_page(const std::vector<InputFile>& files, const SurveyData& survey, const ReportContent& c) {
  std::string title = "Survey report: ";
  for (std::size_t i = 0; i < files.size(); ++i) title += (i ? ", " : "") + files[i].name;
  std::string p =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
      "style-src 'unsafe-inline'\">"
      "<meta name=\"viewport\" content=\"width=device-width\"><title>" +
      html_escape(title) + "</title><style>" + kStyle + "</style></head><body>\n";
  p += "<h1>" + html_escape(title) + "</h1>\n";
  p += std::string("<p id=\"verdict\" class=\"verdict ") + (c.verdict.complete ? "complete" : "incomplete") +
       "\">Verdict: " + html_escape(c.verdict.text) + "</p>\n";
  p += summary_section(files, c) + "\n";
  p += inputs_section(files, survey) + "\n";
  p += "<h2>Maps</h2><div class=\"maps\">" + map_figure("coverage-map", c.coverage_map, c.coverage) +
       map_figure("grid-map", c.grid_map, c.coverage) + "</div>\n";
  p += coverage_section(c.coverage) + "\n";
  p += lines_section(survey, c.lines, c.flags) + "\n";
  p += speed_section(c.speed, c.speed_unit) + "\n";
  p += gps_section(c.gps) + "\n";
  p += remarks_section(survey) + "\n";
  return p + "</body></html>\n";
}

std::size_t file_size(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  std::fseek(f, 0, SEEK_END);
  const long n = std::ftell(f);
  std::fclose(f);
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace quelor::tool
