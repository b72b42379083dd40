#pragma once
// The benchmarks' trees: ten buttons a category, ten categories a group, under the root.
#include <string>

#include "model/voice_book.h"

namespace bench {

// `button(i)` gives the fields of the i-th button.
template <class F> void BuildGroupedTree(oVoiceBook& root, int buttons, F button) {
    root.ResetAll(L"ToolBar");
    oVoiceBook* group = nullptr;
    oVoiceBook* category = nullptr;
    for (int i = 0; i < buttons; ++i) {
        if (i % 100 == 0)
            group = root.AddChild(CategoryFields(L"Group " + std::to_wstring(i / 100)));
        if (i % 10 == 0)
            category = group->AddChild(CategoryFields(L"Category " + std::to_wstring(i / 10)));
        category->AddChild(button(i));
    }
}

} // namespace bench
