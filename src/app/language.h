#pragma once
// Choice of the user-interface language pack, made once at start-up before any text is shown.
#include <windows.h>

#include <string>

#include "framework/handle.h"

class LanguageSelector {
public:
    // Looks for a pack beside the program and switches it in as the resource module.
    // Returns true when a pack was switched in. Packs are not supported yet: the program's
    // own resources are kept, and the thread locale is left as the system set it.
    bool Select(const std::wstring& productKeyPath, bool setThreadLocale, LCID fallbackLocale);

    HMODULE Pack() const noexcept { return pack_.get(); }

private:
    fw::Module pack_;
};
