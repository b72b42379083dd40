#include "setup/template_rules.h"

#include <shlobj.h>

#include <climits>

#include "framework/text.h"
#include "model/picture_numbers.h"

namespace setup {

static_assert(kDefaultWebImage == model::kPictureWeb, "web buttons share one default picture");

std::vector<std::wstring> SplitTemplateFields(std::wstring_view value) {
    std::vector<std::wstring> fields;
    size_t pos = 0;
    while (pos < value.size()) {
        const size_t start = value.find_first_not_of(L',', pos);
        if (start == std::wstring_view::npos)
            break;
        size_t end = value.find(L',', start);
        if (end == std::wstring_view::npos)
            end = value.size();
        fields.emplace_back(value.substr(start, end - start));
        pos = end;
    }
    return fields;
}

std::optional<int> ParseTemplateInt(std::wstring_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > INT_MAX)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<SubBookEntry> ParseSubBook(std::wstring_view value) {
    const std::vector<std::wstring> fields = SplitTemplateFields(value);
    if (fields.size() < 2)
        return std::nullopt;
    // An id that is not a number is an unknown id: the entry is skipped later.
    return SubBookEntry{fields[0], ParseTemplateInt(fields[1]).value_or(0)};
}

SubBookPlan PlanSubBook(int id, DWORD osMajor, Edition edition) {
    SubBookPlan plan;
    const bool singleByte = edition == Edition::SingleByte;
    if (singleByte && id == 7)
        return plan;
    switch (id) {
    case 1:
    case 7:
        plan.specialFolder = CSIDL_DRIVES;
        break;
    case 2:
        if (osMajor >= 10 && !singleByte)
            return plan;
        plan.specialFolder = CSIDL_CONTROLS;
        break;
    case 3:
        plan.specialFolder = CSIDL_DESKTOP;
        break;
    case 4:
        plan.specialFolder = CSIDL_NETWORK;
        break;
    case 5:
        plan.specialFolder = CSIDL_BITBUCKET;
        break;
    case 6:
        plan.specialFolder = CSIDL_PRINTERS;
        break;
    default:
        if (id >= 1000) {
            plan.kind = SubBookKind::Plain;
            plan.defaultImage = id;
        } else if (id >= 103) {
            plan.kind = SubBookKind::Plain;
            plan.defaultImage = id - 100;
        }
        return plan;
    }
    plan.kind = SubBookKind::ShellFolder;
    return plan;
}

bool IsBookmarkSubBook(int number, int count, std::wstring_view name, Edition edition) {
    if (edition == Edition::Wide)
        return number == count;
    return name.find(L"Bookmarks") != std::wstring_view::npos ||
           name.find(L"\uBD81\uB9C8\uD06C") != std::wstring_view::npos;
}

std::optional<CommandEntry> ParseCommand(std::wstring_view value) {
    const std::vector<std::wstring> fields = SplitTemplateFields(value);
    if (fields.size() < 2)
        return std::nullopt;
    CommandEntry entry;
    entry.name = fields[0];
    entry.target = fields[1];
    if (fields.size() > 2)
        entry.arguments = fields[2];
    if (fields.size() > 3)
        entry.image = ParseTemplateInt(fields[3]).value_or(kDefaultWebImage);
    return entry;
}

std::wstring SubSectionName(const std::wstring& parent, const std::wstring& name) {
    return parent + L"_" + name;
}

std::wstring EntryKey(const wchar_t* prefix, int number) {
    return std::wstring(prefix) + std::to_wstring(number);
}

std::wstring KeptTemplateValue(std::wstring value, Edition edition) {
    if (edition == Edition::Wide)
        return value;
    const std::string narrow = fw::ToCodePage(value);
    const size_t kept = fw::FittingCodePageBytes(narrow, kSingleByteTemplateValueBytes - 1);
    if (kept == narrow.size())
        return value;
    return fw::FromCodePage(std::string_view(narrow).substr(0, kept));
}

int ClampEntryCount(int count) {
    if (count < 0)
        return 0;
    return count > kMaxTemplateEntries ? kMaxTemplateEntries : count;
}

} // namespace setup
