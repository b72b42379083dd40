#include "app/language.h"

bool LanguageSelector::Select(const std::wstring&, bool, LCID) {
    pack_.reset();
    return false;
}
