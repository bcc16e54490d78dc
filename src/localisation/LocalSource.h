#pragma once

// The language source on language files.
#include "localisation/LanguageFile.h"
#include "localisation/LanguageSource.h"
