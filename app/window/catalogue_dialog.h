// "Katalog exportieren..." in "Datei": the product table, the output folder and the profile
// asked for in the file requesters, the rows written with progress in the status bar and Esc
// to stop between rows, and the report's summary at the end.
#pragma once

void ask_and_export_catalogue();
