#pragma once
// The colour classes live with the map; the reading handlers use them here.
#include "map/colour_class.h"
