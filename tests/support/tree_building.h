#pragma once
// Small trees for the tests of edits: categories and buttons by name, and a category's
// children as "a;b;".
#include <string>

#include "model/voice_book.h"

namespace test {

inline oVoiceBook* Category(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(CategoryFields(name));
}
inline oVoiceBook* Button(oVoiceBook& parent, const wchar_t* name) {
    return parent.AddChild(ButtonFields(name, L"x.exe"));
}
inline oVoiceBook* Child(oVoiceBook* parent, const wchar_t* name) {
    for (oVoiceBook* n = parent ? parent->FirstChild() : nullptr; n; n = n->Next())
        if (n->m_strName == name)
            return n;
    return nullptr;
}
inline std::wstring Names(const oVoiceBook& parent) {
    std::wstring out;
    for (oVoiceBook* n = parent.FirstChild(); n; n = n->Next())
        out += n->m_strName + L";";
    return out;
}

} // namespace test
