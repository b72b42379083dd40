#pragma once
// Portable use: a marker file beside the program keeps the tree and the settings beside it
// (a stick carried from machine to machine) instead of in the user's profile and registry.
#include <optional>
#include <string>

constexpr wchar_t kPortableMarker[] = L"LarkB.portable";
constexpr wchar_t kPortableSettingsFile[] = L"LarkB.settings.ini";

struct PortablePlaces {
    std::wstring folder;       // the data files
    std::wstring settingsFile; // the settings, both sections and the language choice
};

// The places of a portable program in `programFolder`, when the marker (any file of its
// name, whatever it holds) lies there; nothing otherwise.
std::optional<PortablePlaces> FindPortablePlaces(const std::wstring& programFolder);

// Whether `path` can be written: it opens (or is created) for writing. A write-protected
// stick or a folder without the right to write answers false.
bool CanWriteFile(const std::wstring& path);
