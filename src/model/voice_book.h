#pragma once
// Category or button: the content of a node of the one tree (see ARCHITECTURE.md).
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <utility>

#include "framework/com.h"
#include "model/tree_node.h"

// Kind bits. A category has high nibble KIND_ITEM with KIND_COMMAND clear; a button has
// KIND_COMMAND set; the root is KIND_BOOK alone. Always test bits, never whole values.
enum : int32_t {
    KIND_BOOK = 0x02,
    KIND_COMMAND = 0x04,
    KIND_ITEM = 0x10,
    KIND_OLD_ITEM = 0x20, // accepted from older data files only
};

enum : int32_t { ROLE_NORMAL = 0, ROLE_SEPARATOR = 1, ROLE_GO_UP = 2 };

// The fields a data-file record carries, decoded (the byte layouts live with the data file).
// A record buffer starts as: empty strings, integers 0, show state 1.
struct NodeRecordFields {
    std::wstring name, command, arguments, workDir, iconFile;
    int32_t iconIndex = 0;
    int32_t defaultImage = 0;
    int32_t scanSubFolders = 0;
    int32_t kind = 0;
    uint32_t flags = 0;
    int32_t role = 0;
    int32_t showCmd = 1;
};

// The fields of a node made in this run rather than read from a file: empty texts, show
// state normal and no default picture chosen yet.
NodeRecordFields NewNodeFields(std::wstring name, int32_t kind, uint32_t flags);
// A category and a button as the bar's Add commands make them.
NodeRecordFields CategoryFields(std::wstring name);
NodeRecordFields ButtonFields(std::wstring name, std::wstring command = std::wstring());

class oVoiceBook : public oTreeNode {
public:
    oVoiceBook();
    explicit oVoiceBook(const NodeRecordFields& record);
    // Takes the texts of `record` rather than copying them (a file being read).
    explicit oVoiceBook(NodeRecordFields&& record);
    ~oVoiceBook() override;

    // Defaults of every field; the node's pictures are given up.
    virtual void Reset();
    void Clear() override { Reset(); }
    // Every field a record carries, a copy of the identifier list and the source's colour
    // picture; the links and the depth stay.
    virtual void CopyFrom(const oVoiceBook& source);

    void SetName(const wchar_t* text) { m_strName = text ? text : L""; }
    void SetCommand(const wchar_t* text) { m_strCommand = text ? text : L""; }
    void SetArguments(const wchar_t* text) { m_strArguments = text ? text : L""; }
    void SetWorkDir(const wchar_t* text) { m_strWorkDir = text ? text : L""; }
    void SetIcon(const wchar_t* file, int32_t index);
    const model::NodeText& GetIcon(int32_t* index = nullptr) const;
    // ROLE_GO_UP also selects built-in picture 12 and a depth that sorts below everything.
    void SetRole(int32_t role);
    // The node no longer shows its pictures (model/picture_keeper.h): both indices become -1.
    void ReleasePictures() noexcept;
    // The node owns its identifier list; the one it replaces is freed.
    void SetPidl(fw::Pidl list) noexcept { m_pidl = std::move(list); }

    // Node filled from record fields (show state 10 becomes 1).
    void SetFromRecord(const NodeRecordFields& record);
    void SetFromRecord(NodeRecordFields&& record);
    // The record fields of this node, as a save writes them (show state 10 written as 1).
    NodeRecordFields ToRecord() const;

    // A new node from `fields`, appended to this node's children or linked after this node.
    oVoiceBook* AddChild(const NodeRecordFields& fields);
    oVoiceBook* AddAfter(const NodeRecordFields& fields);
    // Empties the tree below the root and starts afresh with the given name (first run); the
    // pictures start afresh too.
    void ResetAll(const wchar_t* name);
    int CountChildCategories() const;
    // Detached deep copy of this node and its subtree (identifier lists copied too).
    oVoiceBook* CloneTree() const;

    // The data file (on the root): the whole tree as one compound file. SaveFile replaces
    // the file only once the new one is complete; the loaders replace this node's content
    // and children and answer whether the file was read completely.
    bool SaveFile(const std::wstring& path) const;
    bool LoadFile(const std::wstring& path);
    // Files of the earlier single-byte releases (LarkB_v4.tdb, LarkB.tdb).
    bool LoadAnsiFile(const std::wstring& path);

    // Kind tests, always on bits.
    bool IsItem() const noexcept { return (m_nKind & 0xF0) == KIND_ITEM; }
    bool IsCategory() const noexcept { return IsItem() && !(m_nKind & KIND_COMMAND); }
    bool IsButton() const noexcept { return (m_nKind & KIND_COMMAND) != 0; }
    bool IsBookOrRoot() const noexcept { return (m_nKind & KIND_BOOK) != 0; }
    bool IsOldItem() const noexcept { return (m_nKind & 0xF0) == KIND_OLD_ITEM; }

    oVoiceBook* FirstChild() const noexcept { return static_cast<oVoiceBook*>(m_pFirstChild); }
    oVoiceBook* Next() const noexcept { return static_cast<oVoiceBook*>(m_pNext); }
    oVoiceBook* Parent() const noexcept { return static_cast<oVoiceBook*>(m_pParent); }

    model::NodeText m_strCommand;
    model::NodeText m_strArguments;
    model::NodeText m_strWorkDir;
    model::NodeText m_strIconFile;
    int32_t m_nIconIndex = 0;
    int32_t m_nShowCmd = 1;
    int32_t m_nKind = KIND_BOOK;
    uint32_t m_nFlags = 0x02;
    fw::Pidl m_pidl;
    // Indices of the node's pictures in the picture keeper's lists (-1: none built yet).
    int32_t m_nImage = -1;
    int32_t m_nGrayImage = -1;
    int32_t m_nDefaultImage = -1;
    int32_t m_bScanSubFolders = 0;
    int32_t m_nRole = ROLE_NORMAL;

private:
    template <class Fields> void AssignRecord(Fields&& record);
};
