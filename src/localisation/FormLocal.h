#pragma once

// The localizers that apply the active language to a window.
#include "localisation/CustomLocalizer.h"
#include "localisation/FormLocalizer.h"
