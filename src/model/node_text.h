#pragma once
// A text of a node (name, command, ...). Its characters sit in a block that never changes
// once made: giving the text a new value makes a new block. A snapshot of the tree can so
// keep the blocks' addresses instead of copying the characters, and a save built from them
// on another thread never sees a later change. A block given up while a snapshot may still
// read it is set aside and freed when the last such snapshot lets go (TextReadHold).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace model {

class NodeText {
public:
    struct Block; // opaque: its length and characters

    NodeText() noexcept = default;
    explicit NodeText(std::wstring_view text) : block_(Make(text)) {}
    NodeText(const NodeText& other) : block_(Make(other.view())) {}
    NodeText(NodeText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    ~NodeText() { GiveUp(block_); }

    NodeText& operator=(const NodeText& other) { return Set(other.view()); }
    NodeText& operator=(NodeText&& other) noexcept;
    NodeText& operator=(const std::wstring& text) { return Set(text); }
    NodeText& operator=(const wchar_t* text) { return Set(text ? text : L""); }

    const wchar_t* c_str() const noexcept;
    const wchar_t* data() const noexcept { return c_str(); }
    size_t size() const noexcept;
    size_t length() const noexcept { return size(); }
    bool empty() const noexcept { return block_ == nullptr; }
    const wchar_t* begin() const noexcept { return c_str(); }
    const wchar_t* end() const noexcept { return c_str() + size(); }
    wchar_t operator[](size_t i) const noexcept { return c_str()[i]; }
    void clear() noexcept {
        GiveUp(block_);
        block_ = nullptr;
    }

    std::wstring_view view() const noexcept { return {c_str(), size()}; }
    std::wstring str() const { return std::wstring(c_str(), size()); }
    operator std::wstring() const { return str(); }
    operator std::wstring_view() const noexcept { return view(); }

    // The text of a field of UTF-16 little-endian units as files keep it: up to its first
    // zero unit, or `limit` units. Made in its block at once, without a string in between.
    static NodeText FromLittleEndian(const uint8_t* units, size_t limit);

    // The block as it is now, for a snapshot holding a TextReadHold; null when empty.
    const Block* Peek() const noexcept { return block_; }
    static std::wstring_view ViewOf(const Block* block) noexcept;

    friend bool operator==(const NodeText& a, const NodeText& b) noexcept {
        return a.view() == b.view();
    }
    friend bool operator==(const NodeText& a, std::wstring_view b) noexcept {
        return a.view() == b;
    }
    friend bool operator==(std::wstring_view a, const NodeText& b) noexcept {
        return a == b.view();
    }
    friend bool operator==(const NodeText& a, const std::wstring& b) noexcept {
        return a.view() == b;
    }
    friend bool operator==(const std::wstring& a, const NodeText& b) noexcept {
        return b.view() == a;
    }
    friend bool operator==(const NodeText& a, const wchar_t* b) noexcept { return a.view() == b; }
    template <class T> friend bool operator!=(const NodeText& a, const T& b) { return !(a == b); }
    friend bool operator!=(const std::wstring& a, const NodeText& b) { return !(b == a); }

    friend std::wstring operator+(const NodeText& a, std::wstring_view b) {
        return std::wstring(a.view()).append(b);
    }
    friend std::wstring operator+(const NodeText& a, const wchar_t* b) {
        return std::wstring(a.view()).append(b);
    }
    friend std::wstring operator+(std::wstring a, const NodeText& b) { return a.append(b.view()); }
    friend std::wstring operator+(const wchar_t* a, const NodeText& b) {
        return std::wstring(a).append(b.view());
    }

private:
    // A block for `length` characters, terminated; the characters are the caller's to fill.
    static Block* Allocate(size_t length);
    static Block* Make(std::wstring_view text);
    static void GiveUp(Block* block) noexcept;
    NodeText& Set(std::wstring_view text);

    Block* block_ = nullptr;
};

// While one is held, no text block is freed: the ones given up are kept until the last hold
// ends. A snapshot holds one from the moment it reads the tree until its save has read it.
// Holds may be taken and ended on different threads.
class TextReadHold {
public:
    TextReadHold() noexcept = default;
    ~TextReadHold() { End(); }
    TextReadHold(TextReadHold&& other) noexcept : held_(other.held_) { other.held_ = false; }
    TextReadHold& operator=(TextReadHold&& other) noexcept;
    TextReadHold(const TextReadHold&) = delete;
    TextReadHold& operator=(const TextReadHold&) = delete;

    void Begin();
    void End() noexcept;
    bool IsHeld() const noexcept { return held_; }

private:
    bool held_ = false;
};

// Blocks given up and waiting for the last hold to end (for tests).
size_t TextBlocksSetAside() noexcept;

} // namespace model
