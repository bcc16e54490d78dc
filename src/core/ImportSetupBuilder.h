#pragma once

#include "import/ImportSetup.h"

class TForm1;

// What the import needs from the main window: its tables, the catalogue's categories and pages in the
// active language, and the names the item fields go by in all five languages.
TImportSetup MakeImportSetup(const TForm1& form);
