#pragma once
// A data file written before the program starts, for tests where the first run is not what
// they test: the program reads it at once instead of scanning the Start Menu and asking.
#include <string>

namespace test {

// Empties the data folder of this prefix and writes a small tree (the root "ToolBar" with
// the categories "Tools", holding a "Notepad" button, and "Web") as the program's data file.
// Returns the file's path; a failure is reported and yields an empty path.
std::wstring PrepareDataFile();
// Removes the data folder of this prefix with everything in it.
void RemoveDataFolder();

} // namespace test
