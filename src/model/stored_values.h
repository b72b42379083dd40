#pragma once
// The integer values of one section of the settings, read with their defaults, and whether
// every one read was there as a save would write it (a start that finds them so writes
// nothing back).
#include <cstdint>

namespace fw {
class Profile;
}

class StoredValues {
public:
    StoredValues(const fw::Profile& profile, const wchar_t* section) noexcept
        : profile_(profile), section_(section) {}

    // The value of `entry`, `defaultValue` when it is missing, passed through `normalise`.
    int32_t Get(const wchar_t* entry, int32_t defaultValue,
                int32_t (*normalise)(int32_t) = nullptr);
    // Counts a value read some other way as not as stored.
    void NotAsStored() noexcept { asStored_ = false; }
    bool AsStored() const noexcept { return asStored_; }

private:
    const fw::Profile& profile_;
    const wchar_t* section_;
    bool asStored_ = true;
};
