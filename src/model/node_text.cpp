#include "model/node_text.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace model {

// The characters (and a terminating zero) follow the block's header.
struct NodeText::Block {
    size_t size;
    wchar_t* Text() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
    const wchar_t* Text() const noexcept { return reinterpret_cast<const wchar_t*>(this + 1); }
};

namespace {

// The holds and the blocks set aside while there are any. The count is read without the
// lock on the way to freeing a block: a hold that matters to that block was begun on the
// thread that gives it up (the one owning the tree), so it cannot begin unseen meanwhile.
std::atomic<int> g_holds{0};
std::mutex g_lock;
std::vector<NodeText::Block*>* g_setAside = nullptr; // under g_lock

void Free(NodeText::Block* block) noexcept {
    ::operator delete(block);
}

} // namespace

NodeText::Block* NodeText::Allocate(size_t length) {
    void* memory = ::operator new(sizeof(Block) + (length + 1) * sizeof(wchar_t));
    auto* block = new (memory) Block{length};
    block->Text()[length] = L'\0';
    return block;
}

NodeText::Block* NodeText::Make(std::wstring_view text) {
    if (text.empty())
        return nullptr;
    Block* block = Allocate(text.size());
    std::memcpy(block->Text(), text.data(), text.size() * sizeof(wchar_t));
    return block;
}

NodeText NodeText::FromLittleEndian(const uint8_t* units, size_t limit) {
    size_t n = 0;
    while (n < limit && (units[2 * n] | units[2 * n + 1]) != 0)
        ++n;
    NodeText text;
    if (n == 0)
        return text;
    Block* block = Allocate(n);
    wchar_t* out = block->Text();
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<wchar_t>(units[2 * i] | units[2 * i + 1] << 8);
    text.block_ = block;
    return text;
}

void NodeText::GiveUp(Block* block) noexcept {
    if (!block)
        return;
    if (g_holds.load() > 0) {
        std::lock_guard<std::mutex> hold(g_lock);
        if (g_holds.load() > 0) {
            try {
                if (!g_setAside)
                    g_setAside = new std::vector<Block*>();
                g_setAside->push_back(block);
                return;
            } catch (const std::bad_alloc&) {
                // Without memory to note it the block is kept for good: a leak, never a
                // text freed under a save reading it.
                return;
            }
        }
    }
    Free(block);
}

NodeText& NodeText::Set(std::wstring_view text) {
    Block* made = Make(text); // first: `text` may be this text's own characters
    GiveUp(block_);
    block_ = made;
    return *this;
}

NodeText& NodeText::operator=(NodeText&& other) noexcept {
    if (this != &other) {
        GiveUp(block_);
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

const wchar_t* NodeText::c_str() const noexcept {
    return block_ ? block_->Text() : L"";
}

size_t NodeText::size() const noexcept {
    return block_ ? block_->size : 0;
}

std::wstring_view NodeText::ViewOf(const Block* block) noexcept {
    return block ? std::wstring_view(block->Text(), block->size) : std::wstring_view();
}

TextReadHold& TextReadHold::operator=(TextReadHold&& other) noexcept {
    if (this != &other) {
        End();
        held_ = other.held_;
        other.held_ = false;
    }
    return *this;
}

void TextReadHold::Begin() {
    if (held_)
        return;
    std::lock_guard<std::mutex> hold(g_lock);
    ++g_holds;
    held_ = true;
}

void TextReadHold::End() noexcept {
    if (!held_)
        return;
    held_ = false;
    std::vector<NodeText::Block*> freed;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        if (--g_holds == 0 && g_setAside)
            freed.swap(*g_setAside);
    }
    for (NodeText::Block* block : freed)
        Free(block);
}

size_t TextBlocksSetAside() noexcept {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_setAside ? g_setAside->size() : 0;
}

} // namespace model
