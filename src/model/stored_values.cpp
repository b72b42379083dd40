#include "model/stored_values.h"

#include <optional>

#include "framework/profile.h"

int32_t StoredValues::Get(const wchar_t* entry, int32_t defaultValue,
                          int32_t (*normalise)(int32_t)) {
    const std::optional<int32_t> value = profile_.TryGetInt(section_, entry);
    const int32_t read = value.value_or(defaultValue);
    const int32_t result = normalise ? normalise(read) : read;
    // A value that is missing, or that reading changes, differs from what a save writes.
    asStored_ = asStored_ && value && result == *value;
    return result;
}
