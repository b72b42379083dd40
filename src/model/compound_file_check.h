#pragma once
// A structural check of a compound file before the system's storage code reads it.
// Wine's storage follows sector chains and directory links without guarding against loops,
// so one damaged file could hang the program at start-up; the system's own reader refuses
// such files. Checking first gives the same safe outcome everywhere: a file with a looping
// or out-of-range chain or directory link is not read at all.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace model {

// True when the bytes start like a compound file and every chain and directory link that
// reading may follow ends. Sectors beyond the end of the bytes (a cut file) are allowed:
// reading fails there (see MemoryLockBytes: a read past the end is an error, not zeros).
bool CompoundFileIsSound(const uint8_t* data, size_t size);

struct CompoundFileSurvey {
    bool sound = false; // as CompoundFileIsSound
    // Every stream's sector chain can be read to its end, is as long as the stream's size
    // asks, and shares no sector with another chain. A file damaged in its allocation
    // tables can read without an error and still give a stream the wrong bytes or too few;
    // this is how such damage shows.
    bool whole = false;
    // Directory entries below the root that its links reach, of any type: a reader that
    // opened fewer left something out (an entry whose type was damaged hides its subtree).
    size_t entries = 0;
};
// `fatCopy`, when given, holds the FAT's sectors in their order (as FatSectorNumbers names
// them, sectorSize bytes each), read apart from `data`: the FAT is then looked at there, so
// that a mapped file's pages are not brought in by it (its sectors lie all over the file).
CompoundFileSurvey SurveyCompoundFile(const uint8_t* data, size_t size,
                                      const uint8_t* fatCopy = nullptr);

// The FAT's sector numbers in order, as the header's list and the DIFAT chain name them, for a
// file of `sectors` whole sectors of `sectorSize` bytes after the header; the numbers are not
// checked; `difat`, when given, receives the DIFAT sectors it passed. False when the DIFAT
// chain loops or leaves the file.
bool FatSectorNumbers(const uint8_t* data, size_t sectorSize, size_t sectors,
                      std::vector<uint32_t>& out, std::vector<uint32_t>* difat = nullptr);

} // namespace model
