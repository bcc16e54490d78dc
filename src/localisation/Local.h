#pragma once

// The language source classes without storage, their settings and the error class.
#include "localisation/CustomLanguageSource.h"
#include "localisation/FileLanguageSource.h"
#include "localisation/LanguageSettings.h"
#include "localisation/LocalError.h"
