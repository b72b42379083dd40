#pragma once
// Dialog templates made in memory, so tests can build dialogs with the controls they need.
#include <windows.h>

#include <string>
#include <vector>

namespace test {

class DialogTemplate {
public:
    DialogTemplate(DWORD style, const wchar_t* title, short cx, short cy) {
        Put(style | DS_SETFONT);
        Put(0); // extended style
        countAt_ = words_.size();
        words_.push_back(0);
        for (short v : {short{0}, short{0}, cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(0); // no menu
        words_.push_back(0); // standard class
        Text(title);
        words_.push_back(8);
        Text(L"MS Shell Dlg");
    }
    // `atom`: 0x80 button, 0x81 edit, 0x82 static, 0x83 list box, 0x85 combo box.
    DialogTemplate& Add(WORD atom, WORD id, DWORD style, short y, const wchar_t* text = L"") {
        while (words_.size() % 2)
            words_.push_back(0);
        Put(style | WS_CHILD | WS_VISIBLE);
        Put(0);
        const short height = atom == 0x85 ? 60 : 12;
        for (short v : {short{4}, y, short{100}, height})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(atom);
        Text(text);
        words_.push_back(0);
        ++words_[countAt_];
        return *this;
    }
    const DLGTEMPLATE& get() const { return *reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Put(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void Text(const wchar_t* s) { words_.insert(words_.end(), s, s + wcslen(s) + 1); }
    std::vector<WORD> words_; // WORD-aligned from the allocator; items are padded to DWORDs
    size_t countAt_ = 0;
};

} // namespace test
