#include "map_background.h"

#include <cstdio>
#include <optional>

#include "background/draw_plan.h"
#include "background/file_table.h"
#include "background/loader.h"
#include "background/option_text.h"
#include "background/point_file.h"
#include "json.h"
#include "file_input.h"

namespace quelor::tool {

namespace {

std::string one_line(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    out += c == '\n' ? ' ' : c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

MapBackgrounds load_map_backgrounds(const std::vector<std::string>& requests, const Variant& v, const Settings& s,
                                    int zone, const MapFrame& frame) {
  MapBackgrounds out;
  out.layer.frame = frame;
  out.layer.planned = true;
  BackgroundSurvey survey{s.map_units, zone, s.rts_units, v.instrument_type, v.navigation_mode};
  for (const std::string& text : requests) {
    if (static_cast<int>(out.files.size()) >= kMaxBackgroundFiles) {
      out.error = "Maximum 10 background files already loaded";
      return out;
    }
    const BackgroundRequestParse parse = parse_background_request(text, v.navigation_mode);
    if (!parse.request) {
      out.error = parse.error;
      return out;
    }
    const BackgroundRequest& r = *parse.request;
    if (const auto fault = check_background_columns(r.options)) {
      out.error = r.file + ": " + fault->text;
      return out;
    }
    const std::optional<std::string> bytes = read_file_bytes(r.file);
    if (!bytes) {
      out.error = "cannot read " + r.file;
      return out;
    }
    const BackgroundConversion conversion = convert_background_file(*bytes, r.options, survey);
    if (conversion.refusal) {
      out.error = r.file + ": " + one_line(conversion.refusal->text);
      return out;
    }
    const BackgroundStyle style = background_style(r.options.display_type, v.navigation_mode);
    const bool labels = r.options.file_type == kBackgroundLabelledText && v.navigation_mode == 0;
    BackgroundDrawing d = plan_background_drawing(read_point_file(conversion.records), style, labels, frame);
    const std::optional<OperatorMessage> m = drawing_message(d);
    if (d.points == 0) {
      out.error = r.file + ": " + m->text;
      return out;
    }
    out.files.push_back({r.file, d.points, d.unusable, m ? m->title + ": " + one_line(m->text) : ""});
    out.layer.plans.push_back(std::move(d));
  }
  return out;
}

void install_map_backgrounds(const MapBackgrounds& b, TileSurface& tiles) {
  if (b.layer.plans.empty()) return;
  const int w = tiles.tile_width(), h = tiles.tile_height();
  const BackgroundLayer* layer = &b.layer;
  tiles.grid_decoration = [layer, w, h](Canvas& tile, int tx, int ty) {
    draw_background_layer_tile(*layer, tile, tx, ty, w, h);
  };
  tiles.for_each(kGridLayer, [&](int tx, int ty, Canvas& tile) { tiles.grid_decoration(tile, tx, ty); });
}

std::string map_backgrounds_json(const MapBackgrounds& b) {
  std::string out = "[";
  for (std::size_t i = 0; i < b.files.size(); ++i) {
    const MapBackgroundFile& f = b.files[i];
    JsonObject j;
    j.str("file", f.file).integer("points", f.points).integer("invalid", f.unusable);
    if (!f.message.empty()) j.str("message", f.message);
    out += (i ? "," : "") + j.text();
  }
  return out + "]";
}

}  // namespace quelor::tool
