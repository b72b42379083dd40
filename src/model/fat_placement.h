#pragma once
// Where a compound file keeps its allocation table. The system's storage code adds a FAT sector
// each time the file grows past what the last one covers, so the FAT ends up spread over the
// whole file, a sector every 64 KB; whoever looks at the FAT then reads the whole file. Our
// own files get their FAT moved together to the start once built, so that the start-up reads
// it in one go and touches nothing else; a file cut short still has all of it. The result is
// an ordinary compound file.
#include <cstdint>
#include <vector>

namespace model {

// Moves the FAT (and the DIFAT sectors that list it) of the compound file in `image` to the
// sectors right after the header, in order; every other sector moves up behind them and the
// sectors the FAT held become free. False, with `image` unchanged, when the bytes are not a
// compound file whose FAT and directory can be followed, or when there is no memory.
bool MoveFatToStart(std::vector<uint8_t>& image);

// The FAT's sectors of the compound file in `data` follow one another in one run, as
// MoveFatToStart leaves them; false also when the header names none that can be followed.
bool FatInOneRun(const uint8_t* data, size_t size);

} // namespace model
