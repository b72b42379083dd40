#pragma once
// The tree as a UTF-8 text a person can read, edit and merge: the backup that Export...
// writes and Import... reads. One section per node in tree order, [Root] first, then
// [Root_2], [Root_2_1], ...: the numbers are the node's place among its siblings, and each
// section holds the fields a data-file record carries and the identifier list as hex.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "model/voice_book.h"

namespace model {

// Every field of `root` and its whole subtree, with the explanation a reader needs on top.
std::string TreeToText(const oVoiceBook& root);

// Why a text was refused; each names the line it was found on.
enum class TreeTextError {
    None,
    NotUtf8,       // the line is not UTF-8 text
    ExpectedRoot,  // something other than [Root] comes first (or nothing at all)
    BadSection,    // a section name that is not Root followed by place numbers
    NoParent,      // the section's parent has not come before it
    OutOfOrder,    // a place number not above the one of the sibling before it
    BadLine,       // neither a section, an entry, a comment nor empty
    UnknownEntry,  // an entry name this program does not know
    Repeated,      // an entry given twice in one section
    BadNumber,     // not a whole number in the entry's range
    BadQuote,      // a quoted value that does not end, or an unknown escape
    BadIdList,     // hex that does not make one well-formed identifier list
    NoKind,        // a node section without its Kind
    UnknownFormat, // a Format this program cannot read
};

struct TreeTextResult {
    // The tree read (a detached root with its children); null after an error.
    std::unique_ptr<oVoiceBook> root;
    TreeTextError error = TreeTextError::None;
    size_t line = 0; // 1-based line of the error
};

// Reads a text TreeToText wrote, or a person edited. Nothing is taken from a text with an
// error: the result holds either the whole tree or no tree.
TreeTextResult TreeFromText(std::string_view text);

// Moves every child of `from`, in order, to the end of `to`'s children.
void TakeChildren(oVoiceBook& from, oVoiceBook& to);
// `root` becomes the tree read: its children are deleted, it takes the record fields of
// `read` (its own identifier list and pictures stay) and then the children of `read`.
void TakeWholeTree(oVoiceBook& root, oVoiceBook& read);

// The largest text Import... reads; a backup of a very large tree is far below it.
constexpr size_t kMaxTreeTextBytes = 64u << 20;

} // namespace model
