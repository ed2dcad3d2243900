#include "setup/geometry_setup.h"

#include <array>

#include "setup/control_ids.h"
#include "setup/entry_text.h"
#include "setup/setup_lists.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

constexpr std::array<double, 4> kUnitSizes{1.0, 0.01, 0.3048, 0.0254};
constexpr std::array<int, 4> kUnitButtons{IDC_UNIT_METERS, IDC_UNIT_CENTIMETERS, IDC_UNIT_FEET, IDC_UNIT_INCHES};

// Grad601 takes everything in metres and has no unit buttons.
bool has_units(InstrumentType type) { return !has_trait(type, Trait::kNoGeometryUnits); }
bool has_height(InstrumentType type) { return has_trait(type, Trait::kHeightSetting); }

int chosen_unit(const DialogForm& f, int fallback) {
  for (std::size_t i = 0; i < kUnitButtons.size(); ++i)
    if (f.checked(kUnitButtons[i], false)) return static_cast<int>(i);
  return fallback;
}

}  // namespace

double geometry_unit_size(int units) {
  if (units < 0 || units >= static_cast<int>(kUnitSizes.size())) return 1.0;
  return kUnitSizes[static_cast<std::size_t>(units)];
}

DialogForm geometry_setup_form(const Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  const int units = has_units(type) ? s.geometry_units : 0;
  const double size = geometry_unit_size(units);
  DialogForm f;
  f.add_edit(IDC_GPS_X_OFFSET, format_entry("%.2f", s.gps_x_offset / size));
  f.add_edit(IDC_GPS_Y_OFFSET, format_entry("%.2f", s.gps_y_offset / size));
  if (has_trait(type, Trait::kSensorSeparation)) f.add_edit(IDC_THIRD_VALUE, format_entry("%.2f", s.sensor_separation));
  if (has_height(type)) f.add_edit(IDC_THIRD_VALUE, format_entry("%.2f", s.em38_4.height / size));
  if (has_units(type))
    for (std::size_t i = 0; i < kUnitButtons.size(); ++i) f.add_radio(kUnitButtons[i], static_cast<int>(i) == units);
  if (has_trait(type, Trait::kSensorSize)) f.add_list(IDC_GEOMETRY_LIST, sensor_size_items(), s.sensor_size);
  if (has_trait(type, Trait::kCoilReference)) f.add_list(IDC_GEOMETRY_LIST, em34_reference_items(), s.em34_3_reference);
  return f;
}

void geometry_unit_selected(DialogForm& f, int radio_id) {
  for (int id : kUnitButtons)
    if (DialogControl* c = f.find(id)) c->checked = id == radio_id;
}

void store_geometry_setup(const DialogForm& f, Settings& s, const Variant& v) {
  const InstrumentType type = v.instrument_type;
  if (has_units(type)) s.geometry_units = chosen_unit(f, s.geometry_units);
  if (has_trait(type, Trait::kSensorSeparation)) s.sensor_separation = entered_number_or_zero(f.text(IDC_THIRD_VALUE));
  if (has_trait(type, Trait::kSensorSize)) s.sensor_size = f.selection(IDC_GEOMETRY_LIST, s.sensor_size);
  if (has_trait(type, Trait::kCoilReference)) s.em34_3_reference = f.selection(IDC_GEOMETRY_LIST, s.em34_3_reference);
  const double size = geometry_unit_size(has_units(type) ? s.geometry_units : 0);
  s.gps_x_offset = entered_number_or_zero(f.text(IDC_GPS_X_OFFSET)) * size;
  s.gps_y_offset = entered_number_or_zero(f.text(IDC_GPS_Y_OFFSET)) * size;
  if (has_height(type)) s.em38_4.height = entered_number_or_zero(f.text(IDC_THIRD_VALUE)) * size;
}

std::wstring geometry_height_label(InstrumentType instrument_type) {
  if (instrument_type == kEm38_4) return L"EM38-4 Height";
  if (instrument_type == kCs21) return L"CS-21 Height";
  return {};
}

}  // namespace quelor
