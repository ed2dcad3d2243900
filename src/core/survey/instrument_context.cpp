#include "survey/instrument_context.h"

#include "procedures/em38_4_values.h"
#include "procedures/em38mk2_calibration.h"

#include "survey/colour_class.h"

namespace quelor {

ColourScale channel_colour_scale(const Settings& s, int type, int channel) {
  const bool paired = type == kEm38Mk2 || type == kEm38_4 || type == kCs21;
  const auto& scale = paired && channel % 2 == 0 ? s.profile_scale_2 : s.profile_scale_1;
  return {scale[0], (scale[1] - scale[0]) / kColourClassCount};
}

InstrumentContext instrument_context_from_settings(const Settings& s, int type, std::uint32_t now) {
  InstrumentContext c;
  c.instrument_type = type;
  c.now = now;
  c.mapped_channel = s.colour_map_view;
  c.colour = channel_colour_scale(s, type, s.colour_map_view);
  c.two_sensors = (type == kGrad601 || type == kEm61Lx2) && s.number_of_sensors == 1;
  c.audio_ticks = s.audio_ticks != 0;
  c.em38mk2_single_coil = type == kEm38Mk2 && s.em38mk2_model == 1;
  c.em61.coil_type = s.em61_model;
  for (std::size_t i = 0; i < c.nulling.size(); ++i) c.nulling[i] = s.channel_null_values[i];
  c.lx2_filter_factors = {s.left_coil_filter_factor, s.right_coil_filter_factor};
  c.em38mk2_offsets = em38mk2_offsets(s.em38mk2_calibration);
  c.em38_4_calibration = em38_4_calibration(s.em38_4);
  return c;
}

}  // namespace quelor
