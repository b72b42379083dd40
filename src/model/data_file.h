#pragma once
// The data file as a whole: the tree written to and read from one compound file. The
// members SaveFile, LoadFile and LoadAnsiFile of oVoiceBook are built on these.
#include <cstdint>
#include <string>
#include <vector>

#include "model/record_codec.h"

namespace model {

struct DataFileFormat {
    bool singleByte = false;
    int32_t version = kCurrentVersion;
};
constexpr DataFileFormat kCurrentFormat{false, kCurrentVersion};
// What the single-byte build writes.
constexpr DataFileFormat kSingleByteFormat{true, kAnsiVersion};
// What this build's saves write.
#ifdef LARK_SINGLE_BYTE
constexpr DataFileFormat kSaveFormat = kSingleByteFormat;
#else
constexpr DataFileFormat kSaveFormat = kCurrentFormat;
#endif

// How the save builds and writes the file, as the benchmark reports it.
extern const char kSavePathDescription[];

// Where the image keeps its allocation table: ours at the start, in one run; as the system's
// storage code lays it out, spread over the file, older builds wrote it (see fat_placement.h).
enum class FatPlacement { AtStart, AsBuilt };

// The compound-file image of the tree below `root`. False when the storage refused a step;
// nothing is written then.
bool BuildDataFileImage(const oVoiceBook& root, DataFileFormat format, std::vector<uint8_t>& out,
                        FatPlacement fat = FatPlacement::AtStart);
// The same from a snapshot of the tree, on any thread.
class TreeSnapshot;
bool BuildDataFileImage(const TreeSnapshot& tree, DataFileFormat format, std::vector<uint8_t>& out,
                        FatPlacement fat = FatPlacement::AtStart);
// Builds the image and replaces the file at `path` with it in one step.
bool WriteDataFile(const oVoiceBook& root, const std::wstring& path, DataFileFormat format);

enum class LoadOutcome {
    Loaded,    // read completely
    Partial,   // read in part: the tree holds what was whole; something was damaged or skipped
    Missing,   // no file of that name
    EmptyTree, // a sound file of a root without children (which reads as not loaded)
    InUse,     // held open by another program for as long as the read waited
    Damaged,   // a file that is there but holds nothing that could be read (not one category)
};
// Replaces the root's content and children with the file's (once its header and root record
// were read). The root keeps whatever was read before a failure. `bytes`, when given,
// receives the file's content as it was read.
LoadOutcome ReadDataFile(oVoiceBook& root, const std::wstring& path, bool singleByte,
                         std::vector<uint8_t>* bytes = nullptr);
LoadOutcome ReadDataFileImage(oVoiceBook& root, std::vector<uint8_t> image, bool singleByte);
// The same from bytes already read, which stay the caller's (not copied).
LoadOutcome ReadDataFileBytes(oVoiceBook& root, std::vector<uint8_t>& image, bool singleByte);

} // namespace model
